#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <ostream>

// Failures show texts as text rather than as arrays of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kestavian::test {

// One run of a built program: its exit status (-1 when it did not end normally) and what it wrote.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs program with the environment changed ("NAME=value", or "NAME" to remove it); onTerminal: on
// a terminal of its own (through script), where stdout and stderr both come out as out.
inline CliRun runCli(const QStringList& arguments, const QStringList& environment = {},
                     bool onTerminal = false, const QString& program = KESTAVIAN_CLI) {
    QProcess process;
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment)
        if (setting.contains('='))
            changed.insert(setting.section('=', 0, 0), setting.section('=', 1));
        else
            changed.remove(setting);
    process.setProcessEnvironment(changed);
    if (onTerminal)
        process.start("script", {"-qec", "'" + (QStringList{program} + arguments).join("' '") + "'",
                                 "/dev/null"});
    else
        process.start(program, arguments);
    process.waitForFinished(120000);
    CliRun run;
    if (process.exitStatus() == QProcess::NormalExit && process.error() == QProcess::UnknownError)
        run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace kestavian::test
