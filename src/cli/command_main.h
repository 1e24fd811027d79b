#pragma once

#include <iostream>
#include <unistd.h>

#include "cli/command_line.h"
#include "cli/console.h"

namespace kestavian::cli {

// Runs a command whose arguments were read, or prints its help or the usage error.
template <typename Run>
int runParsed(const ParsedArguments& parsed, const Console& console, Run run) {
    switch (parsed.kind) {
    case ParsedArguments::Help:
        console.out << parsed.text;
        return ExitOk;
    case ParsedArguments::Error:
        return console.fail(parsed.text);
    case ParsedArguments::Run:
        break;
    }
    return run();
}

// A command: the arguments after its word, and the console it writes on; its exit status.
using CommandFunction = int (*)(const Arguments&, const Console&);

// Runs the command word's command on the arguments after it, writing to the standard streams. The
// command's exit status, unless its output could not all be written: output lost to a full disk
// or a closed pipe is a failure, not a result.
inline int runCommandLine(int argc, char** argv, CommandFunction command) {
    const Console console{std::cout, std::cerr, isatty(STDERR_FILENO) != 0};
    const Arguments arguments(argv + (argc < 2 ? argc : 2), argv + argc);
    const int status = command(arguments, console);
    if (std::cout.flush())
        return status;
    return console.fail("cannot write the output");
}

} // namespace kestavian::cli
