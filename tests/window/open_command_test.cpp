#include <QApplication>
#include <QFileDialog>

#include "window/qt_dialogs.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using OpenCommand = WindowTest;

TEST_F(OpenCommand, OpeningTheWorkedExampleFillsTheListsAndShowsEventOneOnce) {
    open(workedExample("Events_20_worked.txt"));

    EXPECT_TRUE(state().FileLoaded);
    EXPECT_EQ(state().store.FileName, "Events_20_worked.txt");
    EXPECT_EQ(state().store.NoEvents, 1);
    EXPECT_TRUE(dialogs->inputBoxCalls.empty());
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    ASSERT_EQ(dialogs->openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs->openFileCalls[0].filter, "Text files|*.txt|All files|*.*");
    EXPECT_EQ(dialogs->openFileCalls[0].defaultExtension, "txt");

    EXPECT_EQ(ui().Editor->toPlainText().toStdString(), workedExampleText());
    EXPECT_EQ(itemsOf(ui().cmbEvent), std::vector<std::string>{"12"});
    EXPECT_EQ(itemsOf(ui().cmbEffect), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(ui().cmbEvent->currentIndex(), 0);
    EXPECT_EQ(ui().cmbEffect->currentText(), "1");

    // One block: the event list's pick alone could not show anything.
    EXPECT_EQ(lines(), (std::vector<std::string>{"Time On: 23983509.25", "Time Off: 23983511.11",
                                                 "Duration: 1.86", "Truck 1 position: 0",
                                                 "Truck 2 position: 29.84"}));
    EXPECT_EQ((std::vector<int>{ui().scrTrucks->maximum(), ui().scrTrucks->pageStep(),
                                ui().scrTrucks->singleStep(), ui().scrTrucks->value()}),
              (std::vector<int>{300, 4, 2, 0}));
}

TEST_F(OpenCommand, SpanComesFromTheNameOrIsAskedFor) {
    std::filesystem::create_directory(path("run_30_a"));
    struct Case {
        const char* name;
        const char* reply;  // nullptr: no question expected
        float span;         // Span after the Open, starting from 20
        bool comma = false; // under a locale whose decimal separator is a comma
    };
    const Case cases[] = {
        // A point is a decimal point in every locale; the system's separator is read too.
        {"Events_32.5_x.txt", nullptr, 32.5f, true},
        {"x_12,5_y.txt", nullptr, 12.5f, true},
        {"events.txt", "17,5", 17.5f, true},
        {"x_12,5_y.txt", "", 20.0f},
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
        const std::optional<LocaleForTest> locale =
            c.comma ? std::optional<LocaleForTest>(std::in_place, QLocale::German) : std::nullopt;
        restart();
        if (c.reply != nullptr)
            dialogs->replies.push_back(c.reply);
        open(workedExample(c.name));
        EXPECT_EQ(state().store.FileName, std::filesystem::path(c.name).filename().string());
        EXPECT_FLOAT_EQ(state().view.Span, c.span);
        ASSERT_EQ(dialogs->inputBoxCalls.size(), c.reply ? 1u : 0u);
        if (c.reply != nullptr) {
            EXPECT_EQ(dialogs->inputBoxCalls[0].prompt, "Please enter the span...");
            EXPECT_EQ(dialogs->inputBoxCalls[0].title, "Kestavian");
        }
    }
}

// A cancel keeps the store, lists and span but empties the items; the next file replaces all.
TEST_F(OpenCommand, CancelKeepsTheFileAndASecondFileReplacesIt) {
    open(workedExample("Events_25_a.txt"));
    const std::string txtOut = state().txtOutText;
    dialogs->files.push_back(std::nullopt);
    ui().cmdOpen->click();

    EXPECT_EQ(state().store.NoEvents, 1);
    EXPECT_EQ(state().store.FileName, "Events_25_a.txt");
    EXPECT_EQ(state().store.FileLines.size(), 0);
    EXPECT_EQ(ui().Editor->toPlainText(), "");
    EXPECT_EQ(itemsOf(ui().cmbEvent), std::vector<std::string>{"12"});
    EXPECT_EQ(ui().cmbEvent->currentIndex(), 0);
    EXPECT_FLOAT_EQ(state().view.Span, 25.0f);
    EXPECT_EQ(state().txtOutText, txtOut);
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());

    std::string text;
    for (const int event : {7, 8})
        text += std::to_string(event) + "\n" + effectLine(1, 10, 100, 1, 0) +
                effectLine(2, 20, 100, 1, 0) + effectLine(3, 30, 100, 1, 0);
    open(writeFile("Events_30_b.txt", text));
    EXPECT_EQ(state().store.NoEvents, 2);
    EXPECT_EQ(itemsOf(ui().cmbEvent), (std::vector<std::string>{"7", "8"}));
    EXPECT_FLOAT_EQ(state().view.Span, 30.0f);
    EXPECT_TRUE(ui().Editor->toPlainText().startsWith("7\n"));
    EXPECT_EQ(state().store.FileName, "Events_30_b.txt");
}

// Files with nothing to show: the lists are filled as far as they go, the previous file's picture
// gives way to the empty span, and an effect pick without an event pick lists and draws nothing.
// A reading stopped early says where, unless only blank lines were left out.
TEST_F(OpenCommand, FilesWithNothingToShowOrReadOnlyInPart) {
    const QImage emptySpan = picture();
    const std::string good = workedExampleText();
    struct Case {
        const char* noEffects; // txtNoEffects at the Open
        std::string text;
        int events, effects;
        std::string message = {}; // empty: none
    };
    const Case cases[] = {
        {"3", "", 0, 3},
        {"5", "", 0, 5},
        {"0", "", 0, 0},
        {"3", "a text file\nthat holds no event\n", 0, 3,
         "stopped at line 1: EventNo (columns 1-6) \"a text\": Type mismatch"},
        // The first effect number is beyond the list: no effect pick.
        {"3",
         "5\n" + effectLine(4, 1, 1, 1, 0) + effectLine(2, 1, 1, 1, 0) + effectLine(3, 1, 1, 1, 0),
         1, 3},
        {"3", good + "\n  \n\n", 1, 3},
        {"3", good + "\n" + good, 1, 3,
         "stopped at line 8: EventNo (columns 1-6) \"\": Type mismatch"},
        {"2", good, 2, 2}, // read out of step, but to its end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.noEffects + (" " + c.text));
        ui().txtNoEffects->setText("3");
        open(workedExample("Events_20_before.txt"));
        ui().txtNoEffects->setText(c.noEffects);
        dialogs->messageBoxCalls.clear();
        open(writeFile("Events_20_d.txt", c.text));
        EXPECT_TRUE(state().FileLoaded);
        EXPECT_EQ(state().store.NoEvents, c.events);
        EXPECT_EQ(ui().cmbEvent->count(), c.events);
        EXPECT_EQ(ui().cmbEffect->count(), c.effects);
        ASSERT_EQ(dialogs->messageBoxCalls.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(dialogs->messageBoxCalls[0].text, c.message);
            EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
        }
        if (c.events > 0 && ui().cmbEffect->currentIndex() >= 0)
            continue;
        EXPECT_EQ(ui().cmbEffect->currentIndex(), -1);
        EXPECT_EQ(ui().GA->surface().Image(), emptySpan);
        EXPECT_EQ(ui().lblTime->text() + ui().lblDistance->text(), "");
        const std::string listed = state().txtOutText;
        if (c.events == 0 && c.effects > 1)
            pick(ui().cmbEffect, 1);
        EXPECT_EQ(ui().GA->surface().Image(), emptySpan);
        EXPECT_EQ(state().txtOutText, listed);
    }
}

// A dialog runs an event loop of its own in which the timer goes on ticking: during the span's
// input box the store already holds the new file while the lists show the old one.
TEST_F(OpenCommand, NoTickRunsWhileADialogIsShown) {
    open(workedExample("Events_20_a.txt"));
    int moves = 0;
    const auto tick = [&] {
        const int before = ui().scrTrucks->value();
        QMetaObject::invokeMethod(ui().Timer1, "timeout");
        moves += ui().scrTrucks->value() != before;
    };
    dialogs->whileShown = tick;
    dialogs->replies.push_back("25");
    // Open dialog, input box and the message of a stopped reading; open dialog and the message of
    // a refused file; the message of a failed save.
    dialogs->files = {writeFile("events.txt", workedExampleText() + "x\n"), path("missing.txt")};
    ui().cmdOpen->click();
    ui().cmdOpen->click();
    window->setPictureFolder(QString::fromStdString(path("no_such_folder")));
    ui().cmdSave->click();
    EXPECT_EQ(dialogs->openFileCalls.size() + dialogs->inputBoxCalls.size() +
                  dialogs->messageBoxCalls.size(),
              7u);
    EXPECT_EQ(moves, 0);
    dialogs->whileShown = nullptr;
    tick(); // outside a dialog the tick plays
    EXPECT_EQ(moves, 1);
}

// "All files" lists every file, names without a dot too; "txt" is added only to a typed name
// that does not exist as typed. The dialog starts in the folder it is given.
TEST_F(OpenCommand, OpenDialogTakesATypedNameThatExistsAsTyped) {
    writeFile("Events_45_run", "1\n");
    writeFile("Events_30.txt", "1\n");
    QtDialogs qtDialogs(window.get());
    QStringList filters;
    for (const auto& [typed, chosen] :
         {std::pair{"Events_45_run", "Events_45_run"}, {"Events_30", "Events_30.txt"}}) {
        QTimer::singleShot(0, [&, typed = typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            dialog->selectFile(typed); // a bare name, in the folder the dialog starts in

            QMetaObject::invokeMethod(dialog, "accept");
        });
        EXPECT_EQ(qtDialogs.openFile("Text files|*.txt|All files|*.*", "txt", path("")),
                  path(chosen));
    }
    EXPECT_EQ(filters, (QStringList{"Text files (*.txt)", "All files (*)"}));
}

} // namespace
} // namespace kestavian::test
