#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include "cli/cli_runner.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Desktop = WindowTest;

// The viewer's command line needs no display for what it only prints.
TEST_F(Desktop, CommandLineHelpVersionAndUnknownOptions) {
    struct Case {
        QStringList arguments;
        int status;
        QString out, err; // how they start
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: ", ""},
        {{"--version"}, 0, "kestavian " KESTAVIAN_VERSION "\n", ""},
        {{"--bogus"}, 2, "", "kestavian: Unknown option 'bogus'."},
        {{"a.txt", "b.txt"}, 2, "", "kestavian: "},
    };
    for (const Case& row : cases) {
        QProcess viewer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        viewer.setProcessEnvironment(environment);
        viewer.start(KESTAVIAN_VIEWER, row.arguments);
        ASSERT_TRUE(viewer.waitForFinished(30000)) << row.arguments.join(' ').toStdString();
        const QString out = viewer.readAllStandardOutput(), err = viewer.readAllStandardError();
        EXPECT_EQ(viewer.exitCode(), row.status) << err.toStdString();
        EXPECT_EQ(out.left(row.out.size()), row.out);
        EXPECT_EQ(err.left(row.err.size()), row.err);
        EXPECT_EQ(err.count('\n'), row.err.isEmpty() ? 0 : 1);
    }
}

// A file given at start, or dropped on the window, opens as if chosen in the Open dialog: the
// same steps and messages, and the picture kestavian-cli renders for event 1, effect 1.
TEST_F(Desktop, FileFromTheCommandLineOrADropOpensAsOpenWould) {
    const std::string worked = workedExample("Events_32.5_worked.txt");
    window->openFile(QString::fromStdString(worked));
    EXPECT_TRUE(dialogs->openFileCalls.empty());
    EXPECT_EQ(state().store.FileName, "Events_32.5_worked.txt");
    EXPECT_EQ(timeOnLines(), 1);
    const QString out = QString::fromStdString(path("cli.png"));
    ASSERT_EQ(runCli({"render", QString::fromStdString(worked), "--event", "1", "--effect", "1",
                      "--out", out})
                  .status,
              0);
    EXPECT_EQ(rgb32(QImage(out)), rgb32(ui().GA->surface().Image()));

    window->openFile(QString::fromStdString(path("missing.txt")));
    ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
    EXPECT_EQ(dialogs->messageBoxCalls[0].text,
              "Unkown error while opening file " + path("missing.txt"));

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(
                       writeFile("Events_20_dropped.txt", threeEventFile()))),
                   QUrl::fromLocalFile(QString::fromStdString(worked))});
    QDragEnterEvent enter(QPoint(300, 400), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 400), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(state().store.FileName, "Events_20_dropped.txt");
    EXPECT_EQ(itemsOf(ui().cmbEvent), (std::vector<std::string>{"17", "18", "25"}));
}

// Ctrl+O opens, Ctrl+S saves, Ctrl+Q closes; Return and Enter click the focused button.
TEST_F(Desktop, KeysOfTheCommands) {
    window->show();
    QApplication::setActiveWindow(window.get());
    const auto press = [&](QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &up);
    };
    dialogs->files = {std::nullopt, std::nullopt};
    press(ui().Editor, Qt::Key_O, Qt::ControlModifier);
    ui().cmdOpen->setFocus();
    press(ui().cmdOpen, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(dialogs->openFileCalls.size(), 2u);
    press(ui().Editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::remove(path("Span_20_Ev_0_Ef_.bmp")));
    ui().cmdSave->setFocus();
    press(ui().cmdSave, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(std::filesystem::remove(path("Span_20_Ev_0_Ef_.bmp")));
    EXPECT_TRUE(window->isVisible());
    press(ui().Editor, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

// The Open dialog starts where the last file was opened, in this window and the next one.
TEST_F(Desktop, OpenDialogStartsInTheFolderOfTheLastFile) {
    std::filesystem::create_directory(path("runs"));
    open(writeFile("runs/Events_30_three.txt", threeEventFile()));
    dialogs->files.push_back(std::nullopt);
    ui().cmdOpen->click();
    restart();
    dialogs->files.push_back(std::nullopt);
    ui().cmdOpen->click();
    ASSERT_EQ(dialogs->openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs->openFileCalls[0].startFolder, path("runs"));
}

// After each block of lines, the diagnostics box shows its last line.
TEST_F(Desktop, DiagnosticsFollowTheNewestLines) {
    window->show();
    open(writeFile("Events_30_three.txt", threeEventFile()));
    QScrollBar* bar = ui().txtOut->verticalScrollBar();
    for (int i = 0; i < 12; ++i)
        pick(ui().cmbEvent, i % 3);
    QApplication::processEvents();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

} // namespace
} // namespace kestavian::test
