#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "window/qt_dialogs.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using namespace std::string_literals;
using OpenCommand = WindowTest;

TEST_F(OpenCommand, OpeningTheWorkedExampleFillsTheListsAndShowsEventOneOnce) {
    open(workedExample("Events_20_worked.txt"));
    EXPECT_TRUE(state().FileLoaded);
    EXPECT_EQ(state().store.FileName, "Events_20_worked.txt");
    EXPECT_TRUE(dialogs->inputBoxCalls.empty() && dialogs->messageBoxCalls.empty());
    EXPECT_EQ(dialogs->openFileCalls.at(0).filter + dialogs->openFileCalls.at(0).defaultExtension,
              "Text files|*.txt|All files|*.*txt");
    // As the Qt dialog takes it: "*.*" becomes "*", which lists names without a dot too; a lone
    // last part has no patterns and is left out.
    EXPECT_EQ(toQtNameFilter(dialogs->openFileCalls.at(0).filter + "|"),
              "Text files (*.txt);;All files (*)");
    EXPECT_EQ(ui().Editor->toPlainText().toStdString(), WorkedExampleText);
    EXPECT_EQ(itemsOf(ui().cmbEvent) + "|" + itemsOf(ui().cmbEffect), "12|1 2 3");
    EXPECT_EQ(ui().cmbEffect->currentText(), "1");
    // One block: the event list's pick alone could not show anything.
    EXPECT_EQ(lines(), (std::vector<std::string>{"Time On: 23983509.25", "Time Off: 23983511.11",
                                                 "Duration: 1.86", "Truck 1 position: 0",
                                                 "Truck 2 position: 29.84"}));
    EXPECT_EQ((std::vector<int>{ui().scrTrucks->maximum(), ui().scrTrucks->pageStep(),
                                ui().scrTrucks->singleStep(), ui().scrTrucks->value()}),
              (std::vector<int>{300, 4, 2, 0}));
}

// The span is the number between the name's first two "_", written with a point or the system's
// separator (a comma below), else the reply to the question, asked again until it is a span;
// Cancel keeps the 20 m the window starts with. The title names the file and the span used.
TEST_F(OpenCommand, SpanComesFromTheNameOrIsAskedFor) {
    std::filesystem::create_directory(path("run_30_a"));
    const std::optional<std::string> cancel;
    const std::tuple<const char*, std::vector<std::optional<std::string>>, float, bool> cases[] = {
        {"Events_45_run2.txt", {}, 45.0f, false},
        {"Events_32.5_x.txt", {}, 32.5f, true},
        {"x_12,5_y.txt", {}, 12.5f, true},
        {"events.txt", {"17,5"}, 17.5f, true},
        {"x_12,5_y.txt", {cancel}, 20.0f, false},
        {"a__b.txt", {"33"}, 33.0f, false},
        {"run_45.txt", {"not a span", "", "-4", cancel}, 20.0f, false},
        {"r_0_x.txt", {"25m", "25"}, 25.0f, false},
        {"r_1e39_x.txt", {cancel}, 20.0f, false},
        {"run_30_a/events.txt", {cancel}, 20.0f, false},
    };
    for (const auto& [name, replies, span, comma] : cases) {
        SCOPED_TRACE(name);
        std::optional<LocaleForTest> locale;
        if (comma)
            locale.emplace(QLocale::German);
        restart();
        dialogs->replies.assign(replies.begin(), replies.end());
        open(workedExample(name));
        EXPECT_EQ(state().store.FileName, std::filesystem::path(name).filename().string());
        EXPECT_FLOAT_EQ(state().view.Span, span);
        ASSERT_EQ(dialogs->inputBoxCalls.size(), replies.size());
        if (!replies.empty()) {
            EXPECT_EQ(dialogs->inputBoxCalls[0].text + "|" + dialogs->inputBoxCalls[0].title,
                      "Please enter the span...|Kestavian");
        }
        for (std::size_t i = 1; i < replies.size(); ++i)
            EXPECT_EQ(dialogs->inputBoxCalls[i].text.substr(0, 40),
                      "Please enter the span...\n\n" +
                          (replies[i - 1]->empty() ? "No span was typed"
                                                   : "\"" + *replies[i - 1] + "\" is not a span")
                              .substr(0, 14));
    }
    EXPECT_EQ(window->windowTitle(), "Event Visualization - events.txt (span 20 m)");
}

// Files with nothing to show: the lists are filled as far as they go, the previous file's picture
// gives way to the empty span, and an effect pick without an event pick lists and draws nothing.
// A reading stopped early says where, unless only blank lines were left out.
TEST_F(OpenCommand, FilesWithNothingToShowOrReadOnlyInPart) {
    const QImage emptySpan = picture();
    const std::string good = WorkedExampleText;
    struct Case {
        const char* noEffects; // txtNoEffects at the Open
        std::string text;
        int events, effects;
        std::string message = {}; // empty: none
    };
    const std::string needsNumber = "; EventNo needs a whole number from -2147483648 to 2147483647";
    const std::string none = "\n\nEvents_20_d.txt holds no event.";
    const Case cases[] = {
        {"3", "", 0, 3, "Events_20_d.txt holds no event."},
        {"3", "a text file\nthat holds no event\n", 0, 3,
         "stopped at line 1: EventNo (columns 1-6) \"a text\": Type mismatch" + needsNumber + none},
        // The first effect number is beyond the list: no effect pick.
        {"3",
         "5\n4       1.00           1.00      1.00    0\n2       1.00           1.00      1.00    "
         "0\n",
         1, 3},
        {"3", good + "\n  \n\n", 1, 3},
        {"3", good + "\n" + good, 1, 3,
         "stopped at line 8: EventNo (columns 1-6) \"\": Type mismatch" + needsNumber +
             ", and the line has nothing there"},
        {"2", good, 2, 2},         // read out of step, but to its end
        {"2", good + "12\n", 2, 2, // stopped on the last line
         "stopped at line 8: Day (columns 5-6) \"\": Type mismatch; Day needs a whole number from "
         "-32768 to 32767, and the line has nothing there\n\nRead with 3 load effects per event, "
         "the file reads on past this line: is \"No. of load effects\" (2) right?"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.noEffects + (" " + row.text));
        ui().txtNoEffects->setText("3");
        open(workedExample("Events_20_before.txt"));
        ui().txtNoEffects->setText(row.noEffects);
        dialogs->messageBoxCalls.clear();
        open(writeFile("Events_20_d.txt", row.text));
        EXPECT_TRUE(state().FileLoaded);
        EXPECT_EQ(ui().cmbEvent->count(), row.events);
        EXPECT_EQ(ui().cmbEffect->count(), row.effects);
        ASSERT_EQ(dialogs->messageBoxCalls.size(), row.message.empty() ? 0u : 1u);
        if (!row.message.empty()) {
            EXPECT_EQ(dialogs->messageBoxCalls[0].text, row.message);
            EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
        }
        if (ui().cmbEffect->currentIndex() >= 0)
            continue;
        EXPECT_EQ(ui().GA->surface().Image(), emptySpan);
        EXPECT_EQ(ui().lblTime->text() + ui().lblDistance->text(), "");
        const std::string listed = state().txtOutText;
        if (row.events == 0 && row.effects > 1)
            pick(ui().cmbEffect, 1);
        EXPECT_EQ(ui().GA->surface().Image(), emptySpan);
        EXPECT_EQ(state().txtOutText, listed);
    }
}

// Files cut short, corrupted or not event files at all, opened after the worked example. Either
// the file is refused with the one message and the window keeps the worked example, or whatever
// of it parses replaces the store. Nothing crashes or hangs.
TEST_F(OpenCommand, EachBadFileIsRefusedOrReadForWhatParses) {
    window->show(); // so the text boxes lay out what they are given as on a screen
    std::ofstream(path("E_20_huge.txt")).close(); // sparse: a gigabyte with nothing on disk
    std::filesystem::resize_file(path("E_20_huge.txt"), std::uintmax_t{1} << 30);
    // 32,767 lines: the worked example's seven, 4,681 times.
    std::string full;
    for (int i = 0; i < 4681; ++i)
        full += WorkedExampleText;
    const std::string good = WorkedExampleText;
    struct Case {
        std::string file; // a path when there is no content
        std::optional<std::string> content;
        long items;            // FileLines after the Open
        int events = -1;       // in the list; -1: the file is refused
        std::string stop = {}; // how the message of a stopped reading starts, or the reason of a
                               // refused file; empty: no message
    };
    const std::vector<Case> cases{
        // A NUL after column 77 is ignored like any trailing character; in a field it ends it.
        {"E_20_nul.txt", good.substr(0, good.size() - 1) + "\0x\n"s, 7, 1},
        {"E_20_nul.txt", "1\0"s + good.substr(1), 7, 0, "stopped at line 1: EventNo"},
        // A byte order mark is no part of the first line.
        {"E_20_bom.txt", "\xEF\xBB\xBF" + good, 7, 1},
        // Columns 1-6 are the event number, the rest is ignored; no effect follows.
        {"E_20_long.txt", "777777" + std::string(10 << 20, '0'), 1, 1},
        {"E_20_full.txt", full, 32767, 4681},
        // Every comma ends an (empty) item: the 32,768th one is too many.
        {"E_20_commas.txt", std::string(100'000, ',') + "\n", 32767, -1,
         "It holds more than 32767 lines, the most the viewer opens. Cut the events you need out "
         "of it into a file the viewer opens, for example with\nkestavian-cli extract " +
             path("E_20_commas.txt") + " --top 100 --effect 1 --out " +
             path("E_20_commas_top100.txt")},
        {"E_20_over.txt", full + "1\n", 32767, -1, "It holds more than 32767 lines"},
        {"E_20_x.gz", "\x1F\x8B\x08\x00"s, 0, -1,
         "It is compressed (gzip), which the viewer does not read: decompress it first (gunzip)."},
        {"E_20_x.bz2", "BZh91AY&SY"s, 0, -1,
         "It is compressed (bzip2), which the viewer does not read: decompress it first."},
        // Refused before anything is read.
        {path("gone.txt"), std::nullopt, 0, -1, "There is no such file"},
        {path("E_20_huge.txt"), std::nullopt, 0, -1, "It is larger than 16776704 bytes"},
        {path(""), std::nullopt, 0, -1, "It is a folder"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.file);
        const std::string filePath = row.content ? writeFile(row.file, *row.content) : row.file;
        open(workedExample("Events_20_good.txt"));
        const std::string txtOut = state().txtOutText;
        dialogs->messageBoxCalls.clear();
        open(filePath);
        EXPECT_EQ(state().store.FileLines.size(), row.items);
        // An item a line, NUL bytes included, the one over the limit shown too.
        if (row.content) {
            EXPECT_EQ(ui().Editor->document()->blockCount(),
                      row.items + (row.events < 0 && row.items > 0 ? 2 : 1));
        }
        const bool refused = row.events < 0;
        ASSERT_EQ(dialogs->messageBoxCalls.size(), refused || !row.stop.empty() ? 1u : 0u);
        const std::string message =
            dialogs->messageBoxCalls.empty() ? "" : dialogs->messageBoxCalls[0].text;
        if (!refused) {
            EXPECT_EQ(message.substr(0, row.stop.size()), row.stop);
            EXPECT_EQ(state().store.FileName, row.file);
            EXPECT_EQ(ui().cmbEvent->count(), row.events);
            continue;
        }
        const std::string first = "Unkown error while opening file " + filePath + "\n\n";
        EXPECT_EQ(message.substr(0, first.size() + row.stop.size()), first + row.stop);
        EXPECT_EQ(state().store.FileName, "");
        EXPECT_EQ(ui().cmbEffect->currentText(), "1");
        EXPECT_EQ(state().txtOutText, txtOut);
    }
}

// A dialog runs an event loop of its own in which the timer goes on ticking: during the span's
// input box the store already holds the new file while the lists show the old one.
TEST_F(OpenCommand, NoTickRunsWhileADialogIsShown) {
    open(workedExample("Events_20_a.txt"));
    // A cancelled Open keeps the file (its name, events and lists) but empties the items.
    open(std::nullopt);
    EXPECT_TRUE(ui().Editor->toPlainText().isEmpty() && state().store.FileLines.size() == 0);
    EXPECT_EQ(state().store.FileName + ui().cmbEvent->currentText().toStdString(),
              "Events_20_a.txt12");
    int moves = 0;
    const auto tickCounted = [&] {
        const int before = ui().scrTrucks->value();
        tick();
        moves += ui().scrTrucks->value() != before;
    };
    dialogs->whileShown = tickCounted;
    dialogs->replies.push_back("25");
    // Open dialog, input box and the message of a stopped reading; open dialog and the message of
    // a refused file; the message of a failed save.
    open(writeFile("events.txt", WorkedExampleText + "x\n"));
    open(path("missing.txt"));
    window->setPictureFolder(QString::fromStdString(path("no_such_folder")));
    ui().cmdSave->click();
    EXPECT_EQ(dialogs->openFileCalls.size() + dialogs->inputBoxCalls.size() +
                  dialogs->messageBoxCalls.size(),
              8u);
    EXPECT_EQ(moves, 0);
    dialogs->whileShown = nullptr;
    tickCounted(); // outside a dialog the tick plays
    EXPECT_EQ(moves, 1);
}

// "All files" lists every file, names without a dot too; "txt" is added only to a typed name
// that does not exist as typed. The dialog starts in the folder it is given.
TEST_F(OpenCommand, OpenDialogTakesATypedNameThatExistsAsTyped) {
    writeFile("Events_45_run", "1\n");
    writeFile("Events_30.txt", "1\n");
    QtDialogs qtDialogs(window.get());
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    for (const auto& [typed, chosen] :
         {std::pair{"Events_45_run", "Events_45_run"}, {"Events_30", "Events_30.txt"}}) {
        QTimer::singleShot(0, [&, typed = typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            mode = dialog->fileMode();
            dialog->selectFile(typed); // a bare name, in the folder the dialog starts in
            QMetaObject::invokeMethod(dialog, "accept");
        });
        EXPECT_EQ(qtDialogs.openFile("Text files|*.txt|All files|*.*", "txt", path("")),
                  path(chosen));
    }
    EXPECT_EQ(filters, (QStringList{"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile); // a name that exists nowhere is refused
}

// The save dialog starts on the name given among the filters given and tells the filter chosen;
// the prompt gives what is typed; each gives nothing when cancelled; a message waits for its OK.
TEST_F(OpenCommand, SaveDialogPromptAndMessageAnswerAsChosen) {
    QtDialogs qtDialogs(window.get());
    const std::vector<std::string> filters{"PNG image (*.png)", "SVG drawing (*.svg)"};
    const auto answer = [](auto act) {
        QTimer::singleShot(0, [act] {
            QWidget* shown = QApplication::activeModalWidget();
            ASSERT_NE(shown, nullptr);
            act(shown);
        });
    };
    answer([&](QWidget* shown) {
        auto* dialog = qobject_cast<QFileDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"PNG image (*.png)", "SVG drawing (*.svg)"}));
        EXPECT_EQ(dialog->selectedFiles(), QStringList{QString::fromStdString(path("pic.png"))});
        dialog->selectNameFilter("SVG drawing (*.svg)");
        dialog->selectFile(QString::fromStdString(path("chosen.svg")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<Dialogs::SaveChoice> choice = qtDialogs.saveFile(filters, path("pic.png"));
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, path("chosen.svg"));
    EXPECT_EQ(choice->filter, 1);
    answer([](QWidget* shown) { QMetaObject::invokeMethod(shown, "reject"); });
    EXPECT_FALSE(qtDialogs.saveFile(filters, path("pic.png")));

    answer([](QWidget* shown) {
        auto* input = qobject_cast<QInputDialog*>(shown);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle() + "|" + input->labelText(), "Title|Prompt");
        input->setTextValue("typed");
        QMetaObject::invokeMethod(input, "accept");
    });
    EXPECT_EQ(qtDialogs.inputBox("Prompt", "Title"), "typed");
    answer([](QWidget* shown) { QMetaObject::invokeMethod(shown, "reject"); });
    EXPECT_EQ(qtDialogs.inputBox("Prompt", "Title"), std::nullopt);

    QString told;
    answer([&told](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        told = box->windowTitle() + "|" + box->text();
        QMetaObject::invokeMethod(box, "accept");
    });
    qtDialogs.messageBox("Text", "Title");
    EXPECT_EQ(told, "Title|Text");
}

} // namespace
} // namespace kestavian::test
