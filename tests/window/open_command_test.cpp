#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <filesystem>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using OpenCommand = WindowTest;

std::vector<std::string> itemsOf(const QComboBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->itemText(i).toStdString());
    return items;
}

const std::vector<std::string> WorkedExampleLines = {
    "12",
    "1    1523.70    23983510.15      7.40    2",
    "10010302011405092524504121655110350623609413085620871308400000000000000000000",
    "10010302011405106022102881123120400584511513115000000000000000000000000000000",
    "2     980.12    23983509.90     12.05    0",
    "3     311.45    23983511.02      3.95    1",
    "10010302011405106022102881123120400584511513115000000000000000000000000000000",
};

TEST_F(OpenCommand, OpeningTheWorkedExampleFillsTheListsAndShowsEventOneOnce) {
    open(copyFixture("worked_example.txt", "Events_20_worked.txt"));

    EXPECT_TRUE(window->FileLoaded);
    EXPECT_EQ(window->store.FileName, "Events_20_worked.txt");
    EXPECT_EQ(window->store.NoEvents, 1);
    EXPECT_FLOAT_EQ(window->view.Span, 20.0f);
    EXPECT_TRUE(dialogs->inputBoxCalls.empty());
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    ASSERT_EQ(dialogs->openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs->openFileCalls[0].filter, "Text files|*.txt|All files|*.*");
    EXPECT_EQ(dialogs->openFileCalls[0].defaultExtension, "txt");

    std::string editor;
    for (const std::string& line : WorkedExampleLines)
        editor += line + "\r\n";
    EXPECT_EQ(window->EditorText(), editor);
    EXPECT_EQ(window->Editor->toPlainText().count('\n'), 7);

    EXPECT_EQ(itemsOf(window->cmbEvent), std::vector<std::string>{"12"});
    EXPECT_EQ(itemsOf(window->cmbEffect), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
    EXPECT_EQ(window->cmbEffect->currentText(), "1");

    // One block of timing lines: the event list's pick alone could not show anything.
    const std::vector<std::string> expected = {
        "Time On: 23983509.25", "Time Off: 23983511.11",   "Duration: 1.86",
        "Truck 1 position: 0",  "Truck 2 position: 29.84",
    };
    EXPECT_EQ(linesOf(window->txtOutText()), expected);
    EXPECT_EQ(window->scrTrucks->maximum(), 300);
    EXPECT_EQ(window->scrTrucks->pageStep(), 4);
    EXPECT_EQ(window->scrTrucks->singleStep(), 2);
    EXPECT_EQ(window->scrTrucks->value(), 0);
}

TEST_F(OpenCommand, SpanComesFromTheNameOrIsAskedFor) {
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
        {"r_0_x.txt", "-4", 20.0f},     // zero in the name and a negative reply: no span
        {"r_1e39_x.txt", "inf", 20.0f}, // too large for a Single
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->view.Span = 20.0f;
        dialogs->inputBoxCalls.clear();
        if (c.reply != nullptr)
            dialogs->replies.push_back(c.reply);
        open(copyFixture("worked_example.txt", c.name));
        EXPECT_FLOAT_EQ(window->view.Span, c.span);
        if (c.reply == nullptr) {
            EXPECT_TRUE(dialogs->inputBoxCalls.empty());
        } else {
            ASSERT_EQ(dialogs->inputBoxCalls.size(), 1u);
            EXPECT_EQ(dialogs->inputBoxCalls[0].prompt, "Please enter the span...");
            EXPECT_EQ(dialogs->inputBoxCalls[0].title, "Kestavian");
        }
    }
}

TEST_F(OpenCommand, UnderscoresInTheFolderPlayNoRole) {
    std::filesystem::create_directory(path("run_30_a"));
    dialogs->replies.push_back("");
    open(copyFixture("worked_example.txt", "run_30_a/events.txt"));
    EXPECT_EQ(window->store.FileName, "events.txt");
    EXPECT_EQ(dialogs->inputBoxCalls.size(), 1u);
    EXPECT_FLOAT_EQ(window->view.Span, 20.0f);
}

TEST_F(OpenCommand, CancelKeepsTheStoreListsAndSpanButEmptiesTheItems) {
    open(copyFixture("worked_example.txt", "Events_20_a.txt"));
    window->view.Span = 25.0f;
    const std::string txtOut = window->txtOutText();

    dialogs->files.push_back(std::nullopt);
    window->cmdOpen_Click();

    EXPECT_EQ(window->store.NoEvents, 1);
    EXPECT_EQ(window->store.FileName, "Events_20_a.txt");
    EXPECT_EQ(window->store.FileLines.size(), 0);
    EXPECT_EQ(window->EditorText(), "");
    EXPECT_EQ(window->Editor->toPlainText(), "");
    EXPECT_EQ(window->cmbEvent->count(), 1);
    EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
    EXPECT_FLOAT_EQ(window->view.Span, 25.0f);
    EXPECT_EQ(window->txtOutText(), txtOut);
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
}

TEST_F(OpenCommand, SecondFileReplacesTheFirst) {
    open(copyFixture("worked_example.txt", "Events_20_a.txt"));
    std::string text;
    for (const int event : {7, 8}) {
        text += std::to_string(event) + "\n";
        for (int effect = 1; effect <= 3; ++effect)
            text += effectLine(effect, 10.0 * effect, 100, 1, 0);
    }
    const std::string second = writeFile("Events_30_b.txt", text);
    open(second);
    EXPECT_EQ(window->store.NoEvents, 2);
    EXPECT_EQ(itemsOf(window->cmbEvent), (std::vector<std::string>{"7", "8"}));
    EXPECT_FLOAT_EQ(window->view.Span, 30.0f);
    EXPECT_EQ(window->EditorText().substr(0, 3), "7\r\n");
    EXPECT_EQ(window->store.FileName, "Events_30_b.txt");
}

TEST_F(OpenCommand, FileWithoutEventsFillsOnlyTheEffectList) {
    open(writeFile("Events_20_empty.txt", ""));
    EXPECT_EQ(window->store.NoEvents, 0);
    EXPECT_EQ(window->cmbEvent->count(), 0);
    EXPECT_EQ(itemsOf(window->cmbEffect), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(window->cmbEffect->currentIndex(), -1);
    EXPECT_TRUE(window->FileLoaded);
    EXPECT_EQ(window->txtOutText(), "");
}

TEST_F(OpenCommand, FirstEffectNumberBeyondTheListLeavesNoEffectPick) {
    open(writeFile("Events_20_c.txt", "5\n" + effectLine(4, 10, 100, 1, 0) +
                                          effectLine(2, 1, 1, 1, 0) + effectLine(3, 1, 1, 1, 0)));
    EXPECT_EQ(window->store.NoEvents, 1);
    EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
    EXPECT_EQ(window->cmbEffect->currentIndex(), -1);
    EXPECT_EQ(window->txtOutText(), "");
    EXPECT_TRUE(window->FileLoaded);
}

TEST_F(OpenCommand, NoEffectsInForceAtTheOpenSizesTheEffectList) {
    window->txtNoEffects->setText("5");
    open(writeFile("Events_20_d.txt", ""));
    EXPECT_EQ(window->cmbEffect->count(), 5);
    window->txtNoEffects->setText("0");
    open(writeFile("Events_20_d.txt", ""));
    EXPECT_EQ(window->cmbEffect->count(), 0);
}

} // namespace
} // namespace kestavian::test
