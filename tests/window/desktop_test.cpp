#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "cli/cli_runner.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Desktop = WindowTest;

// The viewer's command line needs no display for what it only prints; an error is one line.
TEST_F(Desktop, CommandLineHelpVersionAndUnknownOptions) {
    const std::tuple<QStringList, int, QString> cases[] = {
        {{"--help"}, 0, "Usage: kestavian [options] [FILE]\n"},
        {{"--version"}, 0, "kestavian " KESTAVIAN_VERSION "\n"},
        {{"--bogus"}, 2, "kestavian: Unknown option 'bogus'. (see --help)\n"},
        {{"a.txt", "b.txt"}, 2, "kestavian: one event file at most (see --help)\n"},
        {{"a.txt", "--event", "x"}, 2, "kestavian: --event takes an event number (see --help)\n"},
        {{"a.txt", "--effect", "0"},
         2,
         "kestavian: --effect takes an effect number from 1 to 32767"},
        {{"a.txt", "--effect", "x"},
         2,
         "kestavian: --effect takes an effect number from 1 to 32767"},
        {{"--critical"}, 2, "kestavian: --event, --effect and --critical need a FILE"},
    };
    for (const auto& [arguments, status, start] : cases) {
        const CliRun run = runCli(arguments, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
                                  false, KESTAVIAN_VIEWER);
        EXPECT_EQ(run.status, status);
        EXPECT_EQ((status == 0 ? run.out : run.err).left(start.size()), start);
        EXPECT_EQ((status == 0 ? run.err : run.out), "");
    }
}

// A file given at start or dropped opens as if chosen in Open; kestavian-cli draws the same.
TEST_F(Desktop, FileFromTheCommandLineOrADropOpensAsOpenWould) {
    const QString worked = QString::fromStdString(workedExample("Events_32.5_worked.txt"));
    const QString out = QString::fromStdString(path("cli.png"));
    window->openFile(worked);
    EXPECT_TRUE(dialogs->openFileCalls.empty() && lines().size() == 5u); // one block, no dialog
    const QStringList render{"render", worked, "--position", "1", "--effect", "1", "--out", out};
    EXPECT_EQ(runCli(render).status, 0); // as opened, then scrubbed
    EXPECT_EQ(rgb32(QImage(out)), ui().GA->surface().Image());
    ui().scrTrucks->setValue(120);
    EXPECT_EQ(runCli(render + QStringList{"--at", "120"}).status, 0);
    EXPECT_EQ(rgb32(QImage(out)), ui().GA->surface().Image());
    // Picks from the command line go through the lists, as the user's would.
    window->openFile(worked, {12, 3, true});
    EXPECT_FALSE(ui().chkAnimate->isChecked() || !ui().chkCritPos->isChecked());
    EXPECT_EQ(ui().cmbEffect->currentText(), "3");
    EXPECT_EQ(
        runCli({"render", worked, "--event", "12", "--effect", "3", "--critical", "--out", out})
            .status,
        0);
    EXPECT_EQ(rgb32(QImage(out)), ui().GA->surface().Image());
    window->openFile(worked, {99, {}, false});
    EXPECT_EQ(dialogs->messageBoxCalls.at(0).text,
              "Events_32.5_worked.txt holds no event numbered 99.");
    const std::string twice =
        writeFile("Events_20_twice.txt", WorkedExampleText + WorkedExampleText);
    window->openFile(QString::fromStdString(twice), {12, {}, false});
    EXPECT_EQ(dialogs->messageBoxCalls.at(1).text,
              "2 events of Events_20_twice.txt are numbered 12, at places 1 and 2 of the event "
              "list: pick one there.");
    dialogs->messageBoxCalls.clear();
    window->openFile(QString::fromStdString(path("missing.txt")));
    EXPECT_EQ(dialogs->messageBoxCalls.at(0).text,
              "Unkown error while opening file " + path("missing.txt") +
                  "\n\nThere is no such file: check its name and folder.");

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(
                       QString::fromStdString(writeFile("Events_20_dropped.txt", ThreeEventFile))),
                   QUrl::fromLocalFile(worked)});
    QDragEnterEvent enter(QPoint(300, 400), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 400), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted()); // the file manager is told the drop was taken
    EXPECT_EQ(state().store.FileName, "Events_20_dropped.txt");
    EXPECT_EQ(itemsOf(ui().cmbEvent), "17 18 25");
    window->openFile(QString::fromStdString(path("Events_20_dropped.txt")), {25, {}, false});
    EXPECT_EQ(ui().cmbEvent->currentText(), "25"); // a pick past the first event
}

// Ctrl+O opens, Ctrl+S saves, Ctrl+Q closes; Return, Enter and Space click the focused button.
TEST_F(Desktop, KeysOfTheCommands) {
    window->show();
    QApplication::setActiveWindow(window.get());
    const auto press = [&](QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers);
            QApplication::sendEvent(target, &event);
        }
    };
    dialogs->files = {std::nullopt, std::nullopt, std::nullopt};
    press(ui().Editor, Qt::Key_O, Qt::ControlModifier);
    ui().cmdOpen->setFocus();
    press(ui().cmdOpen, Qt::Key_Return, Qt::NoModifier);
    press(ui().cmdOpen, Qt::Key_Space, Qt::NoModifier);
    EXPECT_EQ(dialogs->openFileCalls.size(), 3u);
    press(ui().Editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::remove(path("Span_20_Ev_0_Ef_.bmp")));
    ui().cmdSave->setFocus();
    press(ui().cmdSave, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(std::filesystem::remove(path("Span_20_Ev_0_Ef_.bmp")));
    press(ui().Editor, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

// The picture's menu and keys put it in a report: copied (at a scale, drawn that much finer), or
// saved where the user chooses as PNG, BMP or an SVG drawing; the dialog starts in the last
// folder with the save name.
TEST_F(Desktop, PictureForAReport) {
    window->show();
    QApplication::setActiveWindow(window.get());
    open(writeFile("Events_30_three.txt", ThreeEventFile));
    const QImage shown = ui().GA->surface().Image();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(50, 50), QPoint(50, 50));
    QApplication::sendEvent(ui().GA, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* action : menu->actions())
        items << action->text();
    EXPECT_EQ(
        items.join('|'),
        "Copy Picture|Copy Picture at Scale|Save Picture As...||Statistics of load effect 1...");
    menu->actions().at(1)->menu()->actions().at(0)->trigger(); // 2 x
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(1282, 334));
    menu->actions().at(0)->trigger();
    EXPECT_EQ(rgb32(QApplication::clipboard()->image()), shown);
    menu->close();
    // Each list's menu opens the statistics of the effect picked.
    for (QComboBox* list : {ui().cmbEvent, ui().cmbEffect}) {
        QContextMenuEvent onList(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(list, &onList);
        auto* listMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(listMenu, nullptr);
        EXPECT_EQ(listMenu->actions().at(0)->text(), "Statistics of load effect 1...");
        listMenu->close();
    }

    const auto saveAs = [&](const std::string& name, int filter) {
        dialogs->saves.push_back(Dialogs::SaveChoice{path(name), filter});
        QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QApplication::sendEvent(ui().Editor, &press);
    };
    saveAs("report", 2); // PNG at 4 x, the ending added
    EXPECT_EQ(QImage(QString::fromStdString(path("report.png"))).size(), QSize(2564, 668));
    saveAs("twice.png", 1);
    EXPECT_EQ(QImage(QString::fromStdString(path("twice.png"))).size(), QSize(1282, 334));
    saveAs("report.BMP", 0); // the ending typed decides
    EXPECT_EQ(rgb32(QImage(QString::fromStdString(path("report.BMP")))), shown);
    saveAs("report.svg", 4);
    EXPECT_EQ(dialogs->saveFileCalls.at(2).startPath, path("Span_30_Ev_1_Ef_1.png"));
    // The drawing is kestavian-cli's, whose drawings the golden files hold.
    const QString cliSvg = QString::fromStdString(path("cli.svg"));
    ASSERT_EQ(runCli({"render", QString::fromStdString(path("Events_30_three.txt")), "--position",
                      "1", "--effect", "1", "--out", cliSvg})
                  .status,
              0);
    EXPECT_EQ(fileText(path("report.svg")), fileText(cliSvg.toStdString()));
    saveAs("plain", 0); // PNG as shown
    EXPECT_EQ(rgb32(QImage(QString::fromStdString(path("plain.png")))), shown);
}

// The Open dialog starts where the last file was opened, in this window and the next one.
TEST_F(Desktop, OpenDialogStartsInTheFolderOfTheLastFile) {
    std::filesystem::create_directory(path("runs"));
    open(writeFile("runs/Events_30_three.txt", ThreeEventFile));
    open(std::nullopt);
    restart();
    open(std::nullopt);
    ASSERT_EQ(dialogs->openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs->openFileCalls[0].startFolder, path("runs"));
}

// After each block of lines, the diagnostics box shows its last line.
TEST_F(Desktop, DiagnosticsFollowTheNewestLines) {
    window->show();
    open(writeFile("Events_30_three.txt", ThreeEventFile));
    QScrollBar* bar = ui().txtOut->verticalScrollBar();
    for (int i = 0; i < 12; ++i)
        pick(ui().cmbEvent, i % 3);
    QApplication::processEvents();
    EXPECT_TRUE(bar->maximum() > 0 && bar->value() == bar->maximum());
}

} // namespace
} // namespace kestavian::test
