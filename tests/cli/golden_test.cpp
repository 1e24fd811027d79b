#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/cli_runner.h"

namespace kestavian::test {
namespace {

// Pictures and plots as they were accepted, pixel for pixel (the SVG byte for byte): any change
// to what the drawing code puts on paper shows here; texts are compared byte for byte.
// KESTAVIAN_UPDATE_GOLDEN=1 writes the outputs of this run over them, for a change that is meant;
// look at every one before committing it.
const QString Golden = KESTAVIAN_FIXTURES "/golden/";
const QString Sample = KESTAVIAN_EXAMPLES "/Events_30_sample.txt";
const QString WorkedExample = KESTAVIAN_FIXTURES "/worked_example.txt";

bool updating() {
    return qEnvironmentVariableIntValue("KESTAVIAN_UPDATE_GOLDEN") == 1;
}

void expectGolden(const QString& written, const QString& name) {
    SCOPED_TRACE(name.toStdString());
    const QString golden = Golden + name;
    if (updating()) {
        QFile::remove(golden);
        ASSERT_TRUE(QFile::copy(written, golden));
        return;
    }
    if (!name.endsWith(".png")) {
        QFile a(written), b(golden);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_TRUE(a.readAll() == b.readAll()) << "differs from " << golden.toStdString();
        return;
    }
    const QImage actual = QImage(written).convertToFormat(QImage::Format_RGB32);
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << golden.toStdString();
    EXPECT_TRUE(actual == expected)
        << written.toStdString() << " differs from " << golden.toStdString();
}

// One run of kestavian-cli against its golden: the word OUT in the arguments stands for the file
// it writes; without it, what it prints is the output.
struct GoldenRun {
    const char* name;
    QStringList arguments;
};

void expectGoldenRun(const GoldenRun& golden) {
    SCOPED_TRACE(golden.name);
    const QTemporaryDir dir;
    const QString out = dir.filePath(golden.name);
    QStringList arguments = golden.arguments;
    const bool printed = arguments.indexOf("OUT") < 0;
    arguments.replaceInStrings(QRegularExpression("^OUT$"), out);
    const CliRun run = runCli(arguments);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    if (printed) {
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(run.out.toUtf8());
    }
    expectGolden(out, golden.name);
}

TEST(Golden, PicturesOfEachViewSetting) {
    const QStringList top{"render", Sample, "--position", "22", "--out", "OUT"};
    const GoldenRun pictures[] = {
        {"top_critical.png", top + QStringList{"--effect", "1", "--critical"}},
        {"top_critical.svg", top + QStringList{"--effect", "1", "--critical"}},
        {"left_flipped.png",
         top + QStringList{"--effect", "3", "--at", "150", "--drive", "left", "--flip"}},
        // Every pairing of drive side and datum flip, as drawings (each line's ends to 1e-7 px).
        {"right_flipped.svg", top + QStringList{"--effect", "3", "--at", "150", "--flip"}},
        {"left.svg", top + QStringList{"--effect", "1", "--critical", "--drive", "left"}},
        {"mixed_datum.png",
         {"render", Sample, "--position", "5", "--effect", "2", "--datum", "mixed", "--out",
          "OUT"}},
        {"worked_effect3.png",
         {"render", WorkedExample, "--span", "20", "--position", "1", "--effect", "3", "--at", "40",
          "--out", "OUT"}},
    };
    for (const GoldenRun& picture : pictures)
        expectGoldenRun(picture);
}

TEST(Golden, ProbabilityPlotsWithAndWithoutFits) {
    const QStringList plot{"stats", Sample, "--plot", "OUT"};
    const GoldenRun plots[] = {
        {"plot_day.png", plot + QStringList{"--effect", "1"}},
        {"plot_day.svg", plot + QStringList{"--effect", "1"}},
        {"plot_week_75.png",
         plot + QStringList{"--effect", "3", "--block", "week", "--return-period", "75"}},
        {"plot_month.png", plot + QStringList{"--effect", "2", "--block", "month"}}, // no fit
    };
    for (const GoldenRun& run : plots)
        expectGoldenRun(run);
}

// The statistics to the last digit, and the help as it is laid out: a change in a fit's search that
// moves any figure, or in the wrapping of a line, shows here.
TEST(Golden, StatisticsToTheLastDigitAndHelp) {
    const GoldenRun texts[] = {
        {"stats_week.json",
         {"stats", Sample, "--block", "week", "--by-trucks", "--return-period", "75,1000",
          "--format", "json"}},
        {"stats_day.csv",
         {"stats", Sample, "--by-trucks", "--fit", "gumbel", "--return-period", "75,1000",
          "--format", "csv"}},
        {"stats_day.txt", {"stats", Sample, "--return-period", "2,50"}},
        {"help_stats.txt", {"stats", "--help"}},
        {"help.txt", {"--help"}},
    };
    for (const GoldenRun& text : texts)
        expectGoldenRun(text);
}

} // namespace
} // namespace kestavian::test
