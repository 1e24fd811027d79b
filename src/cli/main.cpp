#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "cli/check_command.h"
#include "cli/command_main.h"
#include "cli/list_command.h"

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
    std::cerr << "kestavian-cli: cannot start " << name << ": " << std::strerror(errno) << '\n';
    return ExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "check")
        return runCommandLine<CheckOptions>(argc, argv, parseCheckArguments, runCheck);
    if (command == "list")
        return runCommandLine<ListOptions>(argc, argv, parseListArguments, runList);
    if (command == "timings" || command == "extract" || command == "render")
        return startCompanion(argv);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << generalHelp();
        return ExitOk;
    }
    if (command.empty())
        std::cerr << "kestavian-cli: a command is needed: ";
    else
        std::cerr << "kestavian-cli: unknown command \"" << command << "\"; use ";
    std::cerr << "check, timings, list, extract or render (see --help)\n";
    return ExitUsage;
}
