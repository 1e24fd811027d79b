#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "cli/check_command.h"
#include "cli/command_main.h"
#include "cli/list_command.h"
#include "cli/stats_command.h"

using namespace kestavian::cli;

namespace {

// The commands that need Qt (the locale's number text, the viewer's span rule, pictures) run in
// a companion program, started with the same arguments. Loading Qt's libraries takes longer than
// reading a small file, and check and list need none of them. The companion sits beside this
// program in the build, and in libexec when installed.
int startCompanion(char** argv) {
    namespace fs = std::filesystem;
    const char* const name = "kestavian-cli-qt";
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& companion :
         {folder / name, folder / KESTAVIAN_COMPANION_FROM_BIN / name}) {
        ::execv(companion.c_str(), argv);
        if (errno != ENOENT)
            break;
    }
    writeMessageLine(std::cerr, std::string("cannot start ") + name + ": " + std::strerror(errno));
    return ExitUsage;
}

// The overview printed for --help without a command.
std::string generalHelp() {
    return "Usage: kestavian-cli COMMAND FILE [options]\n"
           "The viewer's reading, timings and pictures, without a window, for event files of "
           "any size.\n"
           "\n"
           "Commands:\n"
           "  check     count the events, effects and trucks of an event file\n"
           "  timings   list the diagnostics lines of every event and effect\n"
           "  list      list every load effect's value, time and distance, or the largest\n"
           "  extract   copy chosen events into a file small enough for the viewer\n"
           "  render    write the picture of an event and effect, or of a chosen set\n"
           "  stats     fit extreme-value distributions to block maxima: return levels\n"
           "\n"
           "\n"
           "FILE may be gzip-compressed; check, list and timings read - as standard input.\n"
           "Events are named by number (--event, --events: the numbers the viewer's event list "
           "shows) or by their place in the file (--position, --positions: what the viewer's save "
           "names count).\n"
           "kestavian-cli COMMAND --help describes a command's options; --version tells the "
           "version.\n"
           "Exit status: 0 done, 1 file taken only up to a bad line or holding no event, or an "
           "effect not shown (render), 2 usage error or a file that cannot be read or written.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "check")
        return runCommandLine(argc, argv, runCheckCommand);
    if (command == "list")
        return runCommandLine(argc, argv, runListCommand);
    // A plot is drawn by the companion; the numbers need no Qt.
    if (command == "stats" && !asksForPlot(Arguments(argv + 2, argv + argc)))
        return runCommandLine(argc, argv, [](const Arguments& arguments, const Console& console) {
            return runStatsCommand(arguments, console);
        });
    if (command == "stats")
        return startCompanion(argv);
    if (command == "timings" || command == "extract" || command == "render")
        return startCompanion(argv);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << generalHelp();
        return ExitOk;
    }
    if (command == "--version" || command == "-v") {
        std::cout << "kestavian-cli " KESTAVIAN_VERSION "\n";
        return ExitOk;
    }
    const std::string commands = "check, timings, list, extract, render or stats (see --help)";
    writeMessageLine(std::cerr, command.empty()
                                    ? "a command is needed: " + commands
                                    : "unknown command \"" + command + "\"; use " + commands);
    return ExitUsage;
}
