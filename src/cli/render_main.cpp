// The drawing half of kestavian-cli, started by it for render: the one command that needs Qt's
// GUI layer (fonts and a platform plugin).
#include <QGuiApplication>
#include <unistd.h>

#include "cli/command_main.h"
#include "cli/render_command.h"

using namespace kestavian::cli;

int main(int argc, char** argv) {
    // The tool draws off screen; it must run where there is no display at all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepQtQuiet);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName("kestavian-cli");

    // The program's name and the command word.
    const QStringList arguments = QGuiApplication::arguments().mid(2);
    return runCommand<RenderOptions>(arguments, parseRenderArguments, [](const auto& options) {
        return runRender(options, {std::cout, std::cerr, isatty(STDERR_FILENO) != 0});
    });
}
