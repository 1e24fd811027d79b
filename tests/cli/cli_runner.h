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

// One run of the built kestavian-cli: its exit status (-1 when it did not end normally) and what
// it wrote.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// locale: the locale the tool runs under (LC_ALL), when not the test's own. onTerminal: run it
// on a terminal of its own (through script), where stdout and stderr both come out as out.
inline CliRun runCli(const QStringList& arguments, const QString& locale = {},
                     bool onTerminal = false) {
    QProcess process;
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        process.setProcessEnvironment(environment);
    }
    if (onTerminal)
        process.start("script",
                      {"-qec", "'" + (QStringList{KESTAVIAN_CLI} + arguments).join("' '") + "'",
                       "/dev/null"});
    else
        process.start(KESTAVIAN_CLI, arguments);
    process.waitForFinished(120000);
    CliRun run;
    if (process.exitStatus() == QProcess::NormalExit && process.error() == QProcess::UnknownError)
        run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace kestavian::test
