#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/cli_runner.h"
#include "data/event_file_reader.h"
#include "stats/gev_fit.h"
#include "stats/return_level.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

const QString WorkedExample = KESTAVIAN_FIXTURES "/worked_example.txt";
const QString Sample = KESTAVIAN_EXAMPLES "/Events_30_sample.txt";

// The worked example's seven lines: event 12; effect 1 (two trucks), effect 2, effect 3 (one).
QStringList workedLines() {
    QFile file(WorkedExample);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// The worked example twice, the second event numbered 13 with effect 3 of the same value as
// effect 1: values 1523.7, 980.12, 311.45, then 1523.7, 980.12, 1523.7.
QStringList twoEvents() {
    QStringList lines = workedLines() + workedLines();
    lines[7] = "13";
    lines[12].replace(2, 10, "   1523.70");
    return lines;
}

QByteArray fileTextOf(const QString& path) {
    return QByteArray::fromStdString(fileText(path.toStdString()));
}

class Cli : public testing::Test {
protected:
    QString writeFile(const QString& name, const QStringList& lines, const char* end = "\n") const {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((lines.join(end) + end).toLatin1());
        return path;
    }
    // The worked example with line `line` (1-based) changed at a column.
    QString workedWith(int line, int column, const QString& text) const {
        QStringList lines = workedLines();
        lines[line - 1].replace(column - 1, text.size(), text);
        return writeFile(QString("changed_%1_%2_%3.txt").arg(line).arg(column).arg(qHash(text)),
                         lines);
    }
    QTemporaryDir folder;
};

TEST_F(Cli, CheckCountsWhatIsTakenAndWhereTheParseStopped) {
    const QString counts = "events: 1\neffects: 3\ntrucks: 3\n";
    const QString worked = fileTextOf(WorkedExample);
    const QString shell = "cat '" + WorkedExample + "' | ";
    const QString two = writeFile("two.txt", twoEvents());
    const QString bom = folder.filePath("bom.gz");
    ASSERT_EQ(runCli({"-c", "gzip -c '" + WorkedExample + "' > " + folder.filePath("w.gz") +
                                "; gzip -k " + two + "; { printf '\\357\\273\\277'; cat '" +
                                WorkedExample + "'; } | gzip -nc > " + bom + "; { gzip -c " + two +
                                "; gzip -c </dev/null; gzip -c " + two + "; } > " +
                                folder.filePath("members.gz")},
                     {}, false, "/bin/sh")
                  .status,
              0);
    struct Case {
        QStringList arguments;
        QString out;
        int status = 0;
    };
    const Case cases[] = {
        {{WorkedExample}, counts},
        {{Sample}, "events: 40\neffects: 120\ntrucks: 200\n"},
        // One block per event reads the worked example's second effect line as an event.
        {{WorkedExample, "--effects", "1"}, "events: 2\neffects: 2\ntrucks: 3\n"},
        {{WorkedExample, "--effects", "32767"}, "events: 1\neffects: 3\ntrucks: 3\n"}, // the most
        {{workedWith(3, 19, "1X0")},
         "events: 1\neffects: 0\ntrucks: 0\nstopped at line 3: Speed (columns 19-21) \"1X0\": "
         "Type mismatch; Speed needs a whole number from -32768 to 32767\n",
         1},
        // Blank lines after the last event end the file; a byte order mark is no part of it.
        {{workedWith(3, 19, "\"\\1")},
         "events: 1\neffects: 0\ntrucks: 0\nstopped at line 3: Speed (columns 19-21) "
         "\"\\\"\\\\1\": "
         "Type mismatch; Speed needs a whole number from -32768 to 32767\n",
         1},
        {{writeFile("blank.txt", {worked + "\n \n"}, "")}, counts},
        {{writeFile("bom.txt", {QString::fromLatin1("\xEF\xBB\xBF") + worked}, "")}, counts},
        {{writeFile("seven.txt", {"7"})}, "events: 1\neffects: 0\ntrucks: 0\n"}, // under a mark
        {{folder.filePath("w.gz")}, counts},
        {{folder.filePath("members.gz")}, "events: 4\neffects: 12\ntrucks: 12\n"}, // one empty
        {{writeFile("empty.txt", {}, "")},
         "events: 0\neffects: 0\ntrucks: 0\nempty.txt holds no event\n",
         1},
        // Out of step with the wrong count, the reading stops where the right one reads on.
        {{two, "--effects", "2"},
         "events: 2\neffects: 2\ntrucks: 2\nstopped at line 8: Day (columns 5-6) \"\": Type "
         "mismatch; Day needs a whole number from -32768 to 32767, and the line has nothing "
         "there; with --effects 3 the file reads on past this line: is --effects 2 right?\n",
         1},
        {{writeFile("zipped.txt", {"PK\x01\x02"})},
         "events: 0\neffects: 0\ntrucks: 0\nstopped at line 1: EventNo (columns 1-6) "
         "\"PK\\x01\\x02\": "
         "Type mismatch; EventNo needs a whole number from -2147483648 to 2147483647; the line "
         "holds bytes that are not text: is the file compressed, or not an event file?\n"
         "zipped.txt holds no event\n",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(QStringList{"check"} + c.arguments);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(runCli({"check", two + ".gz", "--effects", "2"}).out, // compressed, the same
              runCli({"check", two, "--effects", "2"}).out);
    // Two members, the second cut short: damaged data, not a shorter file.
    const QString gz = folder.filePath("w.gz"), cut = folder.filePath("cut.gz");
    ASSERT_EQ(
        runCli({"-c", "cat " + gz + " " + gz + " | head -c -3 > " + cut}, {}, false, "/bin/sh")
            .status,
        0);
    EXPECT_TRUE(runCli({"check", cut}).err.endsWith("(is the file cut short?)\n"));
    // Standard input, gzip-compressed or not; compressed, marked and slow, so that the first
    // read decompresses to part of the mark.
    for (const QString& command :
         {shell, "gzip -c '" + WorkedExample + "' | ",
          "{ head -c 47 " + bom + "; sleep 0.3; tail -c +48 " + bom + "; } | "})
        EXPECT_EQ(runCli({"-c", command + KESTAVIAN_CLI " check -"}, {}, false, "/bin/sh").out,
                  counts);
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
    const CliRun comma = runCli({"timings", WorkedExample, "--span", "20"}, {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(comma.out.split('\n')[3], "Duration: 1,86");
}

TEST_F(Cli, ListRanksRowsGreatestFirstWithTiesInFileOrder) {
    const QString two = writeFile("two.txt", twoEvents());
    // Each case's rows as "position/effect".
    const std::pair<QStringList, QString> cases[] = {
        {{}, "1/1 1/2 1/3 2/1 2/2 2/3"},
        {{"--top", "2"}, "1/1 2/1"},
        {{"--top", "9"}, "1/1 2/1 2/3 1/2 2/2 1/3"},
        {{"--bottom", "2"}, "1/3 1/2"},
        {{"--effect", "3"}, "1/3 2/3"},
        {{"--effect", "3", "--top", "1"}, "2/3"},
    };
    for (const auto& [arguments, rows] : cases) {
        const CliRun run = runCli(QStringList{"list", two, "--format", "csv"} + arguments);
        QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.takeFirst(), "position,event,effect,value,time,distance,trucks");
        for (QString& line : lines)
            line = line.section(',', 0, 0) + "/" + line.section(',', 2, 2);
        EXPECT_EQ(lines.join(' '), rows) << arguments.join(' ').toStdString();
    }
    // A bad line: the rows before it, and the stop on stderr.
    const CliRun stopped = runCli({"list", workedWith(6, 1, "x"), "--format", "csv"});
    EXPECT_EQ(stopped.out.count('\n'), 3);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("stopped at line 6")) << stopped.err.toStdString();
    // The shortest form that reads back the same, with a point; the text adds the calendar.
    const std::pair<QString, QString> forms[] = {
        {"csv", "1,12,1,1523.7,23983510.15,7.4,2"},
        {"json", R"({"position":1,"event":12,"effect":1,"value":1523.7,"time":23983510.15,)"
                 R"("distance":7.4,"trucks":2})"},
        {"text", "       1       12       1        1523.7     23983510.15         7.4       2"
                 "     1     2   3  14:05:10.15"},
    };
    EXPECT_TRUE(runCli({"list", WorkedExample, "--top", "1"})
                    .out.startsWith("position    event  effect         value            time    "
                                    "distance  trucks  year month day        clock\n"));
    // A year's first moment opens it; a time too far off for the calendar leaves its columns blank.
    EXPECT_TRUE(runCli({"list", workedWith(2, 13, "    21600000.00"), "--top", "1"})
                    .out.endsWith("     1     1   1  00:00:00.00\n"));
    EXPECT_TRUE(runCli({"list", workedWith(2, 13, "           1e16"), "--top", "1"})
                    .out.endsWith("          1e+16         7.4       2\n"));
    for (const auto& [format, row] : forms)
        EXPECT_EQ(runCli({"list", WorkedExample, "--top", "1", "--format", format},
                         {"LC_ALL=de_DE.UTF-8"})
                      .out.split('\n', Qt::SkipEmptyParts)
                      .last(),
                  row);
}

TEST_F(Cli, ExtractCopiesTheChosenEventsByteForByteForTheViewer) {
    // Four events with CRLF line ends: the extract keeps them as they stand.
    const QStringList four = workedLines() + workedLines() + workedLines() + workedLines();
    const QString crlf = writeFile("Events_20_crlf.txt", four, "\r\n");
    const QString firstAndLast = folder.filePath("Events_20_x.txt");
    const CliRun run = runCli({"extract", crlf, "--positions", "3,1", "--out", firstAndLast});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const QByteArray event = (workedLines().join("\r\n") + "\r\n").toLatin1();
    EXPECT_EQ(fileTextOf(firstAndLast), event + event);
    // From the same file compressed, the same bytes.
    const QString unzipped = folder.filePath("Events_20_z.txt");
    ASSERT_EQ(runCli({"-c", "gzip -k '" + crlf + "'"}, {}, false, "/bin/sh").status, 0);
    EXPECT_EQ(runCli({"extract", crlf + ".gz", "--positions", "3,1", "--out", unzipped}).err, "");
    EXPECT_EQ(fileTextOf(unzipped), event + event);
    // By number: two or more events of the number asked for are refused.
    EXPECT_TRUE(runCli({"extract", writeFile("Events_20_pair.txt", workedLines() + workedLines()),
                        "--events", "12", "--out", firstAndLast})
                    .err.contains("2 events are numbered 12, at positions 1 and 2;"));
    // By number: all four are event 12.
    EXPECT_EQ(runCli({"extract", crlf, "--events", "12", "--out", firstAndLast}).err,
              "kestavian-cli: --events: 4 events are numbered 12, at positions 1, 2, 3 and 1 more; "
              "choose one with --positions; " +
                  firstAndLast + " is not written\n");

    // The top effect-3 row is event 2's: the extract holds it, and lists as it did.
    const QString two = writeFile("Events_20_two.txt", twoEvents());
    const QString top = folder.filePath("top.txt");
    EXPECT_EQ(runCli({"extract", two, "--events", "13", "--out", top}).status, 0);
    EXPECT_EQ(fileTextOf(top), fileTextOf(two).mid(fileTextOf(two).indexOf("13\n")));
    const CliRun topRun = runCli({"extract", two, "--top", "1", "--effect", "3", "--out", top});
    EXPECT_EQ(topRun.status, 0);
    EXPECT_TRUE(topRun.err.startsWith("kestavian-cli: note: top.txt holds no span"));
    EXPECT_TRUE(topRun.err.contains("Events_20_top.txt")) << topRun.err.toStdString();
    const QStringList all = runCli({"list", two, "--format", "csv"}).out.split('\n');
    const QStringList fromTop = runCli({"list", top, "--format", "csv"}).out.split('\n');
    EXPECT_EQ(fromTop.mid(1, 3).replaceInStrings(QRegularExpression("^1,"), "2,"), all.mid(4, 3));

    // The viewer's limit: 32767 lines is taken; one line more, an event header without a line
    // end, is refused and nothing written.
    QStringList lines;
    for (int i = 0; i < 4681; ++i)
        lines += workedLines();
    const QString many = writeFile("Events_20_many.txt", lines + QStringList{"13"}, "\n");
    QFile(many).resize(QFileInfo(many).size() - 1);
    const QString fits = folder.filePath("Events_20_fits.txt");
    EXPECT_EQ(runCli({"extract", many, "--positions", "1-4681", "--out", fits}).status, 0);
    const FileItems read = readFileItems(fits.toStdString(), ViewerReadLimits);
    EXPECT_FALSE(read.failure);
    EXPECT_EQ(read.items.size(), 32767u);
    EXPECT_TRUE(runCli({"check", many}).err.contains("this one has 32768 lines"));
    const QString over = folder.filePath("Events_20_over.txt");
    const CliRun refused = runCli({"extract", many, "--positions", "1-4682", "--out", over});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.contains("32768 lines")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(over));
    // Nor more bytes than the viewer opens, whatever the lines.
    const QStringList worked = workedLines();
    lines.clear();
    for (int i = 0; i < 45874; ++i)
        lines += worked;
    const QString large = writeFile("Events_20_large.txt", lines, "\n");
    EXPECT_EQ(runCli({"extract", large, "--positions", "1-45874", "--out", over}).err,
              "kestavian-cli: the events chosen are 16789884 bytes, more than the viewer's "
              "16776704; " +
                  over + " is not written\n");
}

TEST_F(Cli, ReadingProgressOnlyOnATerminalAndForALargeFile) {
    // Past the worked example, 60 MB of NUL bytes: one bad line that runs to the end.
    const QString large = writeFile("large.txt", workedLines());
    ASSERT_TRUE(QFile(large).resize(60'000'000));
    const CliRun onTerminal = runCli({"check", large}, {}, true);
    EXPECT_EQ(onTerminal.status, 1);
    EXPECT_TRUE(onTerminal.out.contains("reading large.txt: 100%")) << onTerminal.out.toStdString();
    const QString quoted = folder.filePath("it's large.txt"); // a name a shell must have quoted
    ASSERT_TRUE(QFile::link(large, quoted));
    EXPECT_TRUE(runCli({"check", quoted})
                    .err.startsWith("kestavian-cli: note: the viewer opens files of up to 32767 "
                                    "lines and 16776704 bytes, and "
                                    "this one has 8 lines and 60000000 bytes; cut a file it opens "
                                    "with kestavian-cli extract '" +
                                    folder.path() + "/it'\\''s large.txt' --top 100"));
    // Standard input redirected from the file: its size is known, and extract cannot read it.
    const QString fromInput =
        runCli({"-c", KESTAVIAN_CLI " check - < " + large}, {}, true, "/bin/sh").out;
    EXPECT_TRUE(fromInput.contains("reading -: 100%")) << fromInput.toStdString();
    EXPECT_TRUE(fromInput.contains("save it to a file, then cut a file it opens"));
    // A megabyte reads in no time: no progress for it.
    const QString middling = writeFile("middling.txt", workedLines());
    ASSERT_TRUE(QFile(middling).resize(1'000'000));
    EXPECT_FALSE(runCli({"check", middling}, {}, true).out.contains("reading"));
}

TEST_F(Cli, UsageAndFileErrorsAreOneLineOnStderr) {
    const QString out = folder.filePath("p.png");
    const QString named = writeFile("Events_20_w.txt", workedLines());
    const QString cut = writeFile("Events_20_cut.txt", workedLines().mid(0, 4)); // effect 1 alone
    // One command line a row: F stands for the file, W for one without a span in its name, C for
    // one that ends after its first effect, D for a folder, P for a picture to write; the message
    // names them the same way.
    const std::pair<const char*, const char*> cases[] = {
        {"", "a command is needed: check, timings, list, extract, render or stats (see --help)"},
        {"draw F", "unknown command \"draw\"; use check, timings, list, extract, render or stats "
                   "(see --help)"},
        {"check", "an event file is needed (see --help)"},
        {"check F F", "one event file only; unexpected \"F\""},
        {"check F.missing", "cannot read F.missing: no such file"},
        {"check D", "cannot read D: it is a folder"},
        {"check F --effects 0", "--effects must be a whole number from 1 to 32767, not \"0\""},
        {"check F --bogus", "Unknown option 'bogus'."},
        {"timings W", "the file name holds no span between its first two \"_\"; give --span S"},
        {"timings F --span -1", "--span must be a positive number of metres, not \"-1\""},
        {"timings F --datum left", "--datum must be rhs or mixed, not \"left\""},
        {"list F --top 0", "--top must be a whole number of rows from 1, not \"0\""},
        {"list F --top", "Missing value after '--top'."},
        {"list F --top=0", "--top must be a whole number of rows from 1, not \"0\""},
        {"render F --all D --yes=1", "Unexpected value after '--yes=1'."},
        {"list W --effects 1 --effect 4",
         "--effect 4: no load effect of the file is numbered 4 (its effects are numbered 1 and 3)"},
        {"list W --effects 2 --effect 4",
         "--effect 4: no load effect of the file is numbered 4 (its effects are numbered 1 and 2)"},
        {"list F --top 1 --bottom 1", "--top and --bottom cannot be used together"},
        {"list F --format xml", "--format must be text, csv or json, not \"xml\""},
        {"list F --effect 4",
         "--effect 4: no load effect of the file is numbered 4 (its effects are numbered 1 to 3)"},
        {"extract F --out P", "--events LIST, --positions LIST, --top K or --bottom K is needed"},
        {"extract F --events 3-1 --out P",
         "--events must be event numbers such as 3,17,250-260, not \"3-1\""},
        {"extract F --positions 1,2 --out P",
         "--positions asks for event 2, but the file holds 1; P is not written"},
        {"extract F --events 1 --out P",
         "--events 1: no event is numbered 1 (--events takes event numbers, as list's event column "
         "shows them; --positions takes places in the file); P is not written"},
        {"extract F --events 12 --effect 1 --out P", "--effect goes with --top or --bottom here"},
        {"extract - --top 1 --out P",
         "extract reads its file twice, so it cannot read standard input; save it to a file first"},
        {"extract F --top 1", "--out OUT is needed"},
        {"extract F --top 1 --out F", "--out names the event file itself; F is not written"},
        {"extract F --top 1 --out F/x.txt", "cannot write F/x.txt: Not a directory"},
        {"render F --event 12 --effect 1", "--out PATH or --all DIR is needed"},
        {"render F --event 2 --effect 1 --out P",
         "--event 2: no event is numbered 2 (--event takes event numbers, as list's event column "
         "shows them; --position takes places in the file)"},
        {"render F --event 12 --effect 4 --out P",
         "--effect 4 is past the effect list, which runs to 3"},
        {"render F --position 0 --effect 1 --out P",
         "--position must be a position from 1, not \"0\""},
        {"render F --position 2 --effect 1 --out P",
         "--position 2 is past the event list, which holds 1"},
        {"render C --event 12 --effect 2 --out P",
         "event 12 (position 1) holds 1 effect; there is no effect 2"},
        {"render F --all D --positions 2",
         "--positions asks for event 2, but the event list holds 1"},
        {"render F --event 12 --position 1 --effect 1 --out P",
         "--event N (or --position I) and --effect N are needed with --out"},
        {"render F --event 12 --effect 1 --top 1 --out P", "--top goes with --all"},
        {"render F --event 12 --effect 1 --at 1.5 --out P",
         "--at must be a whole number of hundredths from 0 to 32767, not \"1.5\""},
        {"render F --event 12 --effect 1 --at 5 --critical --out P",
         "--at and --critical cannot be used together"},
        {"render F --event 12 --effect 1 --out P.jpg",
         "--out must name a .bmp, .png or .svg file, not \"P.jpg\""},
        {"render F --event 12 --effect 1 --out F/p.png", "cannot write F/p.png: Not a directory"},
        {"render F --all F", "cannot make the folder F"},
        {"render F --all D --events 2",
         "--events 2: no event is numbered 2 (--events takes event numbers, as list's event column "
         "shows them; --positions takes places in the file)"},
        {"render F --all D --events 1 --positions 1",
         "--events and --positions cannot be used together"},
        {"render F --all D --format jpg", "--format must be bmp, png or svg, not \"jpg\""},
        {"render - --all D",
         "the file name holds no span between its first two \"_\"; give --span S"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        QStringList arguments = QString(line).split(' ', Qt::SkipEmptyParts);
        for (QString& word : arguments)
            word.replace(QRegularExpression("^F"), named)
                .replace(QRegularExpression("^D$"), folder.path())
                .replace(QRegularExpression("^P"), out)
                .replace(QRegularExpression("^W$"), WorkedExample)
                .replace(QRegularExpression("^C$"), cut);
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2);
        QString err = run.err;
        err.replace(named, "F")
            .replace(WorkedExample, "W")
            .replace(out, "P")
            .replace(folder.path(), "D");
        EXPECT_EQ(err.toStdString(), "kestavian-cli: " + std::string(message) + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(fileTextOf(named), (workedLines().join('\n') + '\n').toLatin1());
    for (const QString command : {"check", "timings", "list", "extract", "render", "stats"}) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith("Usage: kestavian-cli " + command + " FILE"));
        // Below the usage, lines of 80 columns at most, unless one word alone is longer.
        for (const QString& helpLine : help.out.split('\n').mid(1))
            EXPECT_TRUE(helpLine.size() <= 80 || !helpLine.trimmed().contains(' '))
                << helpLine.toStdString();
        // The argument's text in the options' column.
        const QRegularExpression lead("\\n  \\S+( \\S+)* +");
        const auto column = [&](const char* after) {
            return lead.match(help.out, help.out.indexOf(after)).capturedLength();
        };
        EXPECT_EQ(column("\nArguments:"), column("\nOptions:"));
    }
    EXPECT_EQ(runCli({"--version"}).out, "kestavian-cli " KESTAVIAN_VERSION "\n");
    EXPECT_TRUE(runCli({"--help"}).out.startsWith("Usage: kestavian-cli COMMAND"));
}

TEST_F(Cli, RenderAllWritesTheChosenEffectsUnderTheSaveNames) {
    const QString file = writeFile("Events_32.5_w.txt", workedLines());
    const auto written = [&](const QStringList& choice) {
        const QString all = folder.filePath("all" + choice.join('_'));
        const CliRun run = runCli(QStringList{"render", file, "--all", all, "--critical"} + choice);
        // Effect 2 has no trucks: its picture is the span and caption, which is all it has.
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        return QDir(all).entryList(QDir::Files);
    };
    EXPECT_EQ(written({"--positions", "1"}),
              QStringList({"Span_32.5_Ev_1_Ef_1.bmp", "Span_32.5_Ev_1_Ef_2.bmp",
                           "Span_32.5_Ev_1_Ef_3.bmp"}));
    EXPECT_EQ(written({"--top", "2", "--format", "png"}),
              QStringList({"Span_32.5_Ev_1_Ef_1.png", "Span_32.5_Ev_1_Ef_2.png"}));
    EXPECT_EQ(written({"--bottom", "1", "--effect", "3", "--format", "PNG"}),
              QStringList({"Span_32.5_Ev_1_Ef_3.png"}));

    const QString single = folder.filePath("one.PNG");
    const QStringList render{"render", file, "--position", "1", "--effect", "1", "--critical"};
    ASSERT_EQ(runCli(render + QStringList{"--out", single}).status, 0);
    const QImage fromAll(folder.filePath("all--positions_1/Span_32.5_Ev_1_Ef_1.bmp"));
    EXPECT_EQ(fromAll.size(), QSize(641, 167));
    EXPECT_EQ(fromAll.convertToFormat(QImage::Format_RGB32),
              QImage(single).convertToFormat(QImage::Format_RGB32));
    const QString left = folder.filePath("left.png");
    ASSERT_EQ(runCli(render + QStringList{"--drive", "left", "--out", left}).status, 0);
    EXPECT_NE(QImage(left), QImage(single));
    const QStringList atZero{"render", file, "--position", "1", "--effect", "1", "--at", "0"};
    EXPECT_EQ(runCli(atZero + QStringList{"--out", folder.filePath("zero.png")}).status, 0);
    // A crossing of 0.31 s, the shortest a scroll step of 1 is for.
    QStringList fast = workedLines();
    fast[6].replace(18, 3, "999");
    const CliRun quick = runCli({"render", writeFile("Events_32.5_fast.txt", fast), "--position",
                                 "1", "--effect", "3", "--out", folder.filePath("fast.png")});
    EXPECT_EQ(quick.status, 0) << quick.err.toStdString();

    // A truck at speed 0 cannot be timed: its picture is the span and caption, and the run says so.
    QStringList still = workedLines();
    still[2].replace(18, 3, "  0");
    const QString stillFile = writeFile("Events_32.5_still.txt", still);
    const std::string notShown = "kestavian-cli: event 12 (position 1), effect 1 cannot be shown "
                                 "(the picture holds the span and caption): Division by zero\n";
    const QString stillOne = folder.filePath("still.png");
    const CliRun one =
        runCli({"render", stillFile, "--event", "12", "--effect", "1", "--out", stillOne});
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.err.toStdString(), notShown);
    EXPECT_TRUE(QFile::exists(stillOne));
    const CliRun stillAll = runCli({"render", stillFile, "--all", folder.filePath("still")});
    EXPECT_EQ(stillAll.status, 1);
    EXPECT_EQ(stillAll.err.toStdString(), notShown);
    EXPECT_EQ(QDir(folder.filePath("still")).entryList(QDir::Files).size(), 3);

    // 334 events of three effects: more pictures than are written unasked.
    QStringList lines;
    for (int i = 0; i < 334; ++i)
        lines += workedLines();
    const QStringList many{"render", writeFile("Events_20_many.txt", lines), "--all",
                           folder.filePath("many")};
    EXPECT_EQ(runCli(many).err, "kestavian-cli: --all would write 1002 pictures, about 322 MB; "
                                "choose fewer with --events, --positions, --top or --bottom, or "
                                "add --yes\n");
    EXPECT_EQ(runCli(many + QStringList{"--top", "1001"}).status, 2); // one over is over
    EXPECT_FALSE(QDir(folder.filePath("many")).exists());
    EXPECT_EQ(runCli(many + QStringList{"--yes", "--format", "png"}).status, 0);
    EXPECT_EQ(QDir(folder.filePath("many")).entryList(QDir::Files).size(), 1002);
}

// stats: the block maxima it writes are those its fits are made of, and the outputs agree with
// each other (each format's figures are pinned by the golden outputs).
TEST_F(Cli, StatsFitsTheBlockMaximaItWrites) {
    const QString maxima = folder.filePath("maxima.csv");
    const CliRun json =
        runCli({"stats", Sample, "--format", "json", "--effect", "1", "--maxima", maxima});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject all = QJsonDocument::fromJson(json.out.toUtf8()).object();
    // Effect 1's GEV is the fit of the maxima written for it, its level the fit's.
    QFile file(maxima);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<double> values;
    for (const QString& line : QString(file.readAll()).split('\n', Qt::SkipEmptyParts))
        if (line.startsWith("1,all,"))
            values.push_back(line.section(',', 3, 3).toDouble());
    EXPECT_EQ(values.size(), all["blocks"].toInt() - all["empty_blocks"].toInt());
    const stats::Result<stats::Fit> fit = stats::fitGev(values);
    ASSERT_TRUE(fit.ok());
    EXPECT_EQ(all["gev"]["mu"].toDouble(), fit->params.mu);
    const stats::BlockModel model{all["blocks_per_year"].toInt(),
                                  double(values.size()) / all["blocks"].toDouble()};
    EXPECT_DOUBLE_EQ(all["return_levels"][0]["gev"].toDouble(),
                     *stats::returnLevel(fit->params, model, 1000));
    const QString text = runCli({"stats", Sample, "--effect", "3"}).out;
    // The numbers need no Qt: kestavian-cli alone gives them; only a plot needs its companion.
    const QString alone = folder.filePath("alone/kestavian-cli");
    ASSERT_TRUE(QDir(folder.path()).mkdir("alone") && QFile::copy(KESTAVIAN_CLI, alone));
    EXPECT_EQ(runCli({"stats", Sample, "--effect", "3"}, {}, false, alone).out, text);
    EXPECT_EQ(runCli({"-c", "cat '" + Sample + "' | " KESTAVIAN_CLI " stats - --effect 3"}, {},
                     false, "/bin/sh")
                  .out,
              text);
    // Two runs: the worked example adds its one block; the largest maximum is the sample's.
    const QString quoted = folder.filePath("Events_30_\"s\".txt"); // a name JSON must escape
    ASSERT_TRUE(QFile::copy(Sample, quoted));
    const QJsonObject pooled = QJsonDocument::fromJson(runCli({"stats", WorkedExample, quoted,
                                                               "--format", "json", "--effect", "1"})
                                                           .out.toUtf8())
                                   .object();
    EXPECT_EQ(pooled["blocks"].toInt(), all["blocks"].toInt() + 1);
    EXPECT_EQ(pooled["max"]["file"].toString(), "Events_30_\"s\".txt");
    // A time that is no number of blocks refuses the effect, and the composite names the class.
    QFile sampleFile(Sample);
    ASSERT_TRUE(sampleFile.open(QIODevice::ReadOnly));
    QStringList damaged = QString(sampleFile.readAll()).split("\r\n");
    damaged[1].replace(12, 15, "          1e300");
    const QString refusedRows = runCli({"stats", writeFile("damaged.txt", damaged, "\r\n"),
                                        "--effect", "1", "--by-trucks", "--format", "json"})
                                    .out;
    EXPECT_TRUE(refusedRows.contains("\"note\":\"class 1: run 1: event 3 at position 1 has a time "
                                     "that is not a finite number of blocks\"}"))
        << refusedRows.toStdString();
    // A plot for each effect, its number before the ending.
    const QString plot = folder.filePath("plot.png");
    ASSERT_EQ(runCli({"stats", Sample, "--plot", plot}).status, 0);
    for (const char* effect : {"1", "2", "3"})
        EXPECT_EQ(QImage(folder.filePath(QString("plot_%1.png").arg(effect))).size(),
                  QSize(900, 600));
    const std::pair<QStringList, std::string> wrong[] = {
        {{"--block", "hour"}, "--block must be day, week, month or year, not \"hour\""},
        {{"--return-period", "1"},
         "--return-period must be years over 1 such as 75,100,1000, not \"1\""},
        {{"--plot", "p.jpg"}, "--plot must be a .png or .svg file, not \"p.jpg\""},
        {{"--effect", "4"},
         "--effect 4: no load effect of the file is numbered 4 (its effects are numbered 1 to 3)"},
        {{"--effects", "0"}, "--effects must be a whole number from 1 to 32767, not \"0\""},
        {{"--maxima", Sample + "/m.csv"},
         "cannot write " KESTAVIAN_EXAMPLES "/Events_30_sample.txt/m.csv"},
        {{folder.filePath("cut.gz")},
         "cannot read " + folder.filePath("cut.gz").toStdString() +
             ": damaged gzip data: the gzip data ends before its end (is the file cut short?)"}};
    ASSERT_EQ(runCli({"-c", "gzip -c '" + WorkedExample + "' | head -c 100 > " +
                                folder.filePath("cut.gz")},
                     {}, false, "/bin/sh")
                  .status,
              0);
    for (const auto& [options, message] : wrong) {
        const CliRun run = runCli(QStringList{"stats", Sample} + options);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.toStdString(), "kestavian-cli: " + message + "\n");
    }
    // Blocks of 25 or 250 days (5 and the composite of Gumbel fits: the golden outputs).
    const std::pair<QStringList, const char*> asked[] = {
        {{"--block", "month"},
         R"("block":"month","blocks":5,"empty_blocks":0,"blocks_per_year":10,)"},
        {{"--block", "year"},
         R"("block":"year","blocks":1,"empty_blocks":0,"blocks_per_year":1,)"}};
    for (const auto& [options, part] : asked)
        EXPECT_TRUE(
            runCli(QStringList{"stats", Sample, "--effect", "1", "--format", "json"} + options)
                .out.contains(part))
            << options.join(' ').toStdString();
    // A run that holds no event is told, and the others are fitted.
    const CliRun withEmpty =
        runCli({"stats", Sample, writeFile("empty.txt", {}, ""), "--effect", "1"});
    EXPECT_EQ(withEmpty.status, 1);
    EXPECT_EQ(withEmpty.err, "kestavian-cli: empty.txt holds no event\n");
    EXPECT_TRUE(withEmpty.out.contains("GEV:    mu"));
}

} // namespace
} // namespace kestavian::test
