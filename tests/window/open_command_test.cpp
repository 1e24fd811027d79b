#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using OpenCommand = WindowTest;

TEST_F(OpenCommand, OpeningTheWorkedExampleFillsTheListsAndShowsEventOneOnce) {
    open(workedExample("Events_20_worked.txt"));

    EXPECT_TRUE(window->FileLoaded);
    EXPECT_EQ(window->store.FileName, "Events_20_worked.txt");
    EXPECT_EQ(window->store.NoEvents, 1);
    EXPECT_TRUE(dialogs->inputBoxCalls.empty());
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    ASSERT_EQ(dialogs->openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs->openFileCalls[0].filter, "Text files|*.txt|All files|*.*");
    EXPECT_EQ(dialogs->openFileCalls[0].defaultExtension, "txt");

    EXPECT_EQ(window->EditorText(), replaceAll(workedExampleText(), "\n", "\r\n"));
    EXPECT_EQ(window->Editor->toPlainText().count('\n'), 7);
    EXPECT_EQ(itemsOf(window->cmbEvent), std::vector<std::string>{"12"});
    EXPECT_EQ(itemsOf(window->cmbEffect), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
    EXPECT_EQ(window->cmbEffect->currentText(), "1");

    // One block: the event list's pick alone could not show anything.
    EXPECT_EQ(
        linesOf(window->txtOutText()),
        (std::vector<std::string>{"Time On: 23983509.25", "Time Off: 23983511.11", "Duration: 1.86",
                                  "Truck 1 position: 0", "Truck 2 position: 29.84"}));
    EXPECT_EQ((std::vector<int>{window->scrTrucks->maximum(), window->scrTrucks->pageStep(),
                                window->scrTrucks->singleStep(), window->scrTrucks->value()}),
              (std::vector<int>{300, 4, 2, 0}));
}

TEST_F(OpenCommand, SpanComesFromTheNameOrIsAskedFor) {
    std::filesystem::create_directory(path("run_30_a"));
    struct Case {
        const char* name;
        const char* reply; // nullptr: no question expected
        float span;        // Span after the Open, starting from 20
    };
    const Case cases[] = {
        {"Events_45_run2.txt", nullptr, 45.0f},
        {"x_12.5_y.txt", nullptr, 12.5f},
        {"a__b.txt", "33", 33.0f},     // adjacent "_": empty text
        {"events.txt", "17.5", 17.5f}, // no "_"
        {"run_45.txt", "", 20.0f},     // one "_"; cancelled question keeps the span
        {"r_abc_.txt", "not a span", 20.0f},
        {"r_0_x.txt", "-4", 20.0f},         // zero in the name and a negative reply: no span
        {"r_1e39_x.txt", "inf", 20.0f},     // too large for a Single
        {"run_30_a/events.txt", "", 20.0f}, // only the file's own name counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->view.Span = 20.0f;
        dialogs->inputBoxCalls.clear();
        if (c.reply != nullptr)
            dialogs->replies.push_back(c.reply);
        open(workedExample(c.name));
        EXPECT_EQ(window->store.FileName, std::filesystem::path(c.name).filename().string());
        EXPECT_FLOAT_EQ(window->view.Span, c.span);
        ASSERT_EQ(dialogs->inputBoxCalls.size(), c.reply ? 1u : 0u);
        if (c.reply != nullptr) {
            EXPECT_EQ(dialogs->inputBoxCalls[0].prompt, "Please enter the span...");
            EXPECT_EQ(dialogs->inputBoxCalls[0].title, "Kestavian");
        }
    }
}

// A cancel keeps the store, lists and span but empties the items; the next file replaces all.
TEST_F(OpenCommand, CancelKeepsTheFileAndASecondFileReplacesIt) {
    open(workedExample("Events_20_a.txt"));
    window->view.Span = 25.0f;
    const std::string txtOut = window->txtOutText();
    dialogs->files.push_back(std::nullopt);
    window->cmdOpen_Click();

    EXPECT_EQ(window->store.NoEvents, 1);
    EXPECT_EQ(window->store.FileName, "Events_20_a.txt");
    EXPECT_EQ(window->store.FileLines.size(), 0);
    EXPECT_EQ(window->EditorText(), "");
    EXPECT_EQ(window->Editor->toPlainText(), "");
    EXPECT_EQ(itemsOf(window->cmbEvent), std::vector<std::string>{"12"});
    EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
    EXPECT_FLOAT_EQ(window->view.Span, 25.0f);
    EXPECT_EQ(window->txtOutText(), txtOut);
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());

    std::string text;
    for (const int event : {7, 8})
        text += std::to_string(event) + "\n" + effectLine(1, 10, 100, 1, 0) +
                effectLine(2, 20, 100, 1, 0) + effectLine(3, 30, 100, 1, 0);
    open(writeFile("Events_30_b.txt", text));
    EXPECT_EQ(window->store.NoEvents, 2);
    EXPECT_EQ(itemsOf(window->cmbEvent), (std::vector<std::string>{"7", "8"}));
    EXPECT_FLOAT_EQ(window->view.Span, 30.0f);
    EXPECT_EQ(window->EditorText().substr(0, 3), "7\r\n");
    EXPECT_EQ(window->store.FileName, "Events_30_b.txt");
}

// Files with nothing to show: the lists are filled as far as they go, and an effect pick without
// an event pick lists and draws nothing.
TEST_F(OpenCommand, FilesWithNothingToShow) {
    struct Case {
        const char* noEffects; // txtNoEffects at the Open
        std::string text;
        int events, effects;
    };
    const Case cases[] = {
        {"3", "", 0, 3},
        {"5", "", 0, 5},
        {"0", "", 0, 0},
        // The first effect number is beyond the list: no effect pick.
        {"3",
         "5\n" + effectLine(4, 1, 1, 1, 0) + effectLine(2, 1, 1, 1, 0) + effectLine(3, 1, 1, 1, 0),
         1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.noEffects + (" " + c.text));
        window->txtNoEffects->setText(c.noEffects);
        open(writeFile("Events_20_d.txt", c.text));
        EXPECT_TRUE(window->FileLoaded);
        EXPECT_EQ(window->store.NoEvents, c.events);
        EXPECT_EQ(window->cmbEvent->count(), c.events);
        EXPECT_EQ(window->cmbEvent->currentIndex(), c.events - 1);
        EXPECT_EQ(window->cmbEffect->count(), c.effects);
        EXPECT_EQ(window->cmbEffect->currentIndex(), -1);
        if (c.events == 0 && c.effects > 1) {
            const QImage before = picture();
            pick(window->cmbEffect, 1);
            EXPECT_EQ(window->GA->surface().Image(), before);
        }
        EXPECT_EQ(window->txtOutText(), "");
    }
    EXPECT_EQ(itemsOf(window->cmbEffect), (std::vector<std::string>{"1", "2", "3"}));
}

} // namespace
} // namespace kestavian::test
