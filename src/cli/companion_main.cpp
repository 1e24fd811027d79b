// The half of kestavian-cli that needs Qt, started by it for timings, extract, render and the
// plots of stats. Only render and stats start Qt's GUI layer (fonts and a platform plugin).
#include <QGuiApplication>
#include <iostream>

#include "cli/command_main.h"
#include "cli/extract_command.h"
#include "cli/render_command.h"
#include "cli/stats_command.h"
#include "cli/stats_plot.h"
#include "cli/timings_command.h"

using namespace kestavian::cli;

namespace {

// Errors and notes go to stderr as our own one-line messages; Qt's warnings about the session
// (no runtime folder, no display) would only bury them.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        writeMessageLine(std::cerr, message.toStdString());
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    qInstallMessageHandler(keepQtQuiet);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "timings")
        return runCommandLine(argc, argv, runTimingsCommand);
    if (command == "extract")
        return runCommandLine(argc, argv, runExtractCommand);
    if (command != "render" && command != "stats") {
        writeMessageLine(std::cerr, "kestavian-cli-qt runs timings, extract, render and stats");
        return ExitUsage;
    }
    // The tool draws off screen; it must run where there is no display at all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (command == "stats")
        return runCommandLine(argc, argv, [](const Arguments& arguments, const Console& console) {
            return runStatsCommand(arguments, console, writeStatsPlots);
        });
    return runCommandLine(argc, argv, runRenderCommand);
}
