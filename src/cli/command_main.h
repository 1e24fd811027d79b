#pragma once

#include <iostream>
#include <unistd.h>

#include "cli/cli_options.h"
#include "cli/event_file.h"

namespace kestavian::cli {

// Parses a command's arguments and runs it, or prints its help or the usage error.
template <typename Options, typename Parse, typename Run>
int runCommand(const Arguments& arguments, Parse parse, Run run) {
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

// The command's exit status, unless its output could not all be written: output lost to a full
// disk or a closed pipe is a failure, not a result.
inline int outputWritten(int status) {
    if (std::cout.flush())
        return status;
    std::cerr << "kestavian-cli: cannot write the output\n";
    return ExitUsage;
}

// Runs the command word's command on the arguments after it, writing to the standard streams.
template <typename Options, typename Parse, typename Run>
int runCommandLine(int argc, char** argv, Parse parse, Run run) {
    const Console console{std::cout, std::cerr, isatty(STDERR_FILENO) != 0};
    const Arguments arguments(argv + (argc < 2 ? argc : 2), argv + argc);
    return outputWritten(runCommand<Options>(
        arguments, parse, [&](const Options& options) { return run(options, console); }));
}

} // namespace kestavian::cli
