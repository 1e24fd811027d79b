#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "cli/check_command.h"
#include "cli/command_main.h"
#include "cli/extract_command.h"
#include "cli/list_command.h"
#include "cli/timings_command.h"

using namespace kestavian::cli;

namespace {

// Pictures need Qt's GUI libraries, and loading them takes longer than reading a small file, so
// they are drawn by a companion program that only render starts, with the same arguments. It
// sits beside this one in the build, and in libexec when installed.
int startRenderer(char** argv) {
    namespace fs = std::filesystem;
    const char* const name = "kestavian-cli-render";
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& renderer : {folder / name, folder / KESTAVIAN_RENDERER_FROM_BIN / name}) {
        ::execv(renderer.c_str(), argv);
        if (errno != ENOENT)
            break;
    }
    std::cerr << "kestavian-cli: cannot start " << name << ": " << std::strerror(errno) << '\n';
    return ExitUsage;
}

int runFileCommand(const QString& command, const QStringList& arguments, const Console& console) {
    if (command == "check")
        return runCommand<CheckOptions>(arguments, parseCheckArguments, [&](const auto& options) {
            return runCheck(options, console);
        });
    if (command == "timings")
        return runCommand<TimingsOptions>(
            arguments, parseTimingsArguments,
            [&](const auto& options) { return runTimings(options, console); });
    if (command == "list")
        return runCommand<ListOptions>(arguments, parseListArguments, [&](const auto& options) {
            return runList(options, console);
        });
    return runCommand<ExtractOptions>(arguments, parseExtractArguments, [&](const auto& options) {
        return runExtract(options, console);
    });
}

} // namespace

// No QCoreApplication: nothing here needs one, and the commands cost little more than the
// process's start.
int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    qInstallMessageHandler(keepQtQuiet);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == "render")
        return startRenderer(argv);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << generalHelp();
        return ExitOk;
    }
    const QStringList commands{"check", "timings", "list", "extract"};
    if (!commands.contains(command)) {
        if (command.isEmpty())
            std::cerr << "kestavian-cli: a command is needed: ";
        else
            std::cerr << "kestavian-cli: unknown command \"" << command.toStdString() << "\"; use ";
        std::cerr << "check, timings, list, extract or render (see --help)\n";
        return ExitUsage;
    }
    const int status =
        runFileCommand(command, arguments, {std::cout, std::cerr, isatty(STDERR_FILENO) != 0});
    // Output lost to a full disk or a closed pipe is a failure, not a result.
    if (!std::cout.flush()) {
        std::cerr << "kestavian-cli: cannot write the output\n";
        return ExitUsage;
    }
    return status;
}
