#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <iostream>

#include "cli/cli_options.h"

namespace kestavian::cli {

// Errors and notes go to stderr as our own one-line messages; Qt's warnings about the session
// (no runtime folder, no display) would only bury them.
inline void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "kestavian-cli: " << message.toStdString() << '\n';
}

// Parses a command's arguments and runs it, or prints its help or the usage error.
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

} // namespace kestavian::cli
