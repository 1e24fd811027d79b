#include <QGuiApplication>
#include <iostream>
#include <unistd.h>

#include "cli/check_command.h"
#include "cli/cli_options.h"
#include "cli/render_command.h"
#include "cli/timings_command.h"

using namespace kestavian::cli;

namespace {

// Errors and notes go to stderr as our own one-line messages; Qt's warnings about the session
// (no runtime folder, no display) would only bury them.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "kestavian-cli: " << message.toStdString() << '\n';
}

template <typename Options, typename Parse, typename Run>
int runCommand(const QStringList& arguments, Parse parse, Run run) {
    Options options;
    const ParsedArguments parsed = parse(arguments, options);
    switch (parsed.kind) {
    case ParsedArguments::Help:
        std::cout << parsed.text;
        return ExitOk;
    case ParsedArguments::Error:
        std::cerr << "kestavian-cli: " << parsed.text << '\n';
        return ExitUsage;
    case ParsedArguments::Run:
        break;
    }
    return run(options);
}

} // namespace

int main(int argc, char** argv) {
    // The tool draws off screen; it must run where there is no display at all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepQtQuiet);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName("kestavian-cli");

    QStringList arguments = QGuiApplication::arguments();
    arguments.removeFirst();
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == "check")
        return runCommand<CheckOptions>(arguments, parseCheckArguments, [](const auto& options) {
            return runCheck(options, std::cout, std::cerr);
        });
    if (command == "timings")
        return runCommand<TimingsOptions>(
            arguments, parseTimingsArguments,
            [](const auto& options) { return runTimings(options, std::cout, std::cerr); });
    if (command == "render")
        return runCommand<RenderOptions>(arguments, parseRenderArguments, [](const auto& options) {
            return runRender(options, std::cerr, isatty(STDERR_FILENO) != 0);
        });
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << generalHelp();
        return ExitOk;
    }
    if (command.isEmpty())
        std::cerr << "kestavian-cli: a command is needed: check, timings or render (see --help)\n";
    else
        std::cerr << "kestavian-cli: unknown command \"" << command.toStdString()
                  << "\"; use check, timings or render (see --help)\n";
    return ExitUsage;
}
