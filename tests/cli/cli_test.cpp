#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_runner.h"

namespace kestavian::test {
namespace {

const QString WorkedExample = KESTAVIAN_FIXTURES "/worked_example.txt";
const QString Sample = KESTAVIAN_EXAMPLES "/Events_30_sample.txt";

// The worked example's lines; truck lines 3 and 4 belong to effect 1.
QStringList workedLines() {
    QFile file(WorkedExample);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

class Cli : public testing::Test {
protected:
    QString writeFile(const QString& name, const QStringList& lines) const {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join('\n').toLatin1() + '\n');
        return path;
    }
    // The worked example with line `line` (1-based) changed at a column.
    QString workedWith(int line, int column, const QString& text) const {
        QStringList lines = workedLines();
        lines[line - 1].replace(column - 1, text.size(), text);
        return writeFile(QString("changed_%1_%2.txt").arg(line).arg(column), lines);
    }
    QTemporaryDir folder;
};

TEST_F(Cli, CheckCountsWhatIsTakenAndWhereTheParseStopped) {
    struct Case {
        QStringList arguments;
        QString out;
        int status;
    };
    const Case cases[] = {
        {{WorkedExample}, "events: 1\neffects: 3\ntrucks: 3\n", 0},
        {{Sample}, "events: 40\neffects: 120\ntrucks: 200\n", 0},
        // One block per event reads the worked example's second effect line as an event.
        {{WorkedExample, "--effects", "1"}, "events: 2\neffects: 2\ntrucks: 3\n", 0},
        {{workedWith(3, 19, "1X0")},
         "events: 1\neffects: 0\ntrucks: 0\n"
         "stopped at line 3: Speed (columns 19-21) \"1X0\": Type mismatch\n",
         1},
        {{workedWith(5, 1, "Q")},
         "events: 1\neffects: 1\ntrucks: 2\n"
         "stopped at line 5: EffectNo (columns 1-2) \"Q\": Type mismatch\n",
         1},
        {{writeFile("header.txt", {"12", workedLines()[4], "x7"}), "--effects", "1"},
         "events: 1\neffects: 1\ntrucks: 0\n"
         "stopped at line 3: EventNo (columns 1-6) \"x7\": Type mismatch\n",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(QStringList{"check"} + c.arguments);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(Cli, TimingsListTheDiagnosticsLinesAndWhereTheViewerStops) {
    const CliRun worked = runCli({"timings", WorkedExample, "--span", "20"});
    EXPECT_EQ(worked.status, 0);
    EXPECT_EQ(worked.out, "Event 12 (position 1), effect 1\n"
                          "Time On: 23983509.25\nTime Off: 23983511.11\nDuration: 1.86\n"
                          "Truck 1 position: 0\nTruck 2 position: 29.84\n"
                          "Event 12 (position 1), effect 2\n"
                          "error: Subscript out of range\n"
                          "Event 12 (position 1), effect 3\n"
                          "Time On: 23983509.7\nTime Off: 23983511.11\nDuration: 1.41\n"
                          "Truck 1 position: 20\n");

    // The viewer's lines, so the system's decimal separator.
    const CliRun comma = runCli({"timings", WorkedExample, "--span", "20"}, "de_DE.UTF-8");
    EXPECT_EQ(comma.out.split('\n')[3], "Duration: 1,86");

    // The second truck enters seven minutes after the first: the lines are listed, then the
    // scrubber's range overflows.
    QStringList lines = workedLines();
    lines[3].replace(12, 2, "12");
    const CliRun slow = runCli({"timings", writeFile("Events_20_slow.txt", lines.mid(0, 4))});
    const QStringList out = slow.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 7);
    EXPECT_EQ(out[3], "Duration: 421.86");
    EXPECT_TRUE(out[5].startsWith("Truck 2 position: "));
    EXPECT_EQ(out[6], "error: Overflow");
}

TEST_F(Cli, UsageAndFileErrorsAreOneLineOnStderr) {
    const QString out = folder.filePath("p.png");
    const QString named = writeFile("Events_20_w.txt", workedLines());
    struct Case {
        QStringList arguments;
        int status;
    };
    const Case cases[] = {
        {{}, 2},
        {{"draw", named}, 2},
        {{"check"}, 2},
        {{"check", named, named}, 2},
        {{"check", folder.filePath("missing.txt")}, 2},
        {{"check", folder.path()}, 2},
        {{"check", named, "--effects", "0"}, 2},
        {{"check", named, "--effects", "40000"}, 2},
        {{"check", named, "--bogus"}, 2},
        {{"timings", WorkedExample}, 2}, // no span in the name
        {{"timings", named, "--span", "-1"}, 2},
        {{"timings", named, "--datum", "left"}, 2},
        {{"render", named, "--event", "1", "--effect", "1"}, 2},
        {{"render", named, "--event", "2", "--effect", "1", "--out", out}, 2},
        {{"render", named, "--event", "1", "--effect", "4", "--out", out}, 2},
        {{"render", named, "--event", "0", "--effect", "1", "--out", out}, 2},
        {{"render", named, "--event", "1", "--effect", "1", "--at", "1.5", "--out", out}, 2},
        {{"render", named, "--event", "1", "--effect", "1", "--at", "5", "--critical", "--out",
          out},
         2},
        {{"render", named, "--event", "1", "--effect", "1", "--out", folder.filePath("p.jpg")}, 2},
        {{"render", named, "--event", "1", "--effect", "1", "--out", named + "/p.png"}, 2},
        {{"render", named, "--all", named}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.startsWith("kestavian-cli: ")) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    for (const QString command : {"check", "timings", "render"}) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith("Usage: kestavian-cli " + command + " FILE"));
    }
}

TEST_F(Cli, RenderAllWritesEveryEffectUnderTheSaveNames) {
    const QString file = writeFile("Events_32.5_w.txt", workedLines());
    const QString all = folder.filePath("all");
    const CliRun run = runCli({"render", file, "--all", all, "--at", "120"});
    // Effect 2 has no trucks: its picture is the span and caption, which is all it has.
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(QDir(all).entryList(QDir::Files),
              QStringList({"Span_32.5_Ev_1_Ef_1.bmp", "Span_32.5_Ev_1_Ef_2.bmp",
                           "Span_32.5_Ev_1_Ef_3.bmp"}));

    const QString single = folder.filePath("one.png");
    ASSERT_EQ(
        runCli({"render", file, "--event", "1", "--effect", "1", "--at", "120", "--out", single})
            .status,
        0);
    const QImage fromAll(all + "/Span_32.5_Ev_1_Ef_1.bmp");
    EXPECT_EQ(fromAll.size(), QSize(641, 167));
    EXPECT_EQ(fromAll.convertToFormat(QImage::Format_RGB32),
              QImage(single).convertToFormat(QImage::Format_RGB32));
}

} // namespace
} // namespace kestavian::test
