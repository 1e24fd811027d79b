#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
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

TEST(Golden, PicturesOfEachViewSetting) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QStringList arguments;
    } pictures[] = {
        {"top_critical.png", {Sample, "--position", "22", "--effect", "1", "--critical"}},
        {"top_critical.svg", {Sample, "--position", "22", "--effect", "1", "--critical"}},
        {"left_flipped.png",
         {Sample, "--position", "22", "--effect", "3", "--at", "150", "--drive", "left", "--flip"}},
        // Every pairing of drive side and datum flip, as drawings (each line's ends to 1e-7 px).
        {"right_flipped.svg",
         {Sample, "--position", "22", "--effect", "3", "--at", "150", "--flip"}},
        {"left.svg",
         {Sample, "--position", "22", "--effect", "1", "--critical", "--drive", "left"}},
        {"mixed_datum.png", {Sample, "--position", "5", "--effect", "2", "--datum", "mixed"}},
        {"worked_effect3.png",
         {WorkedExample, "--span", "20", "--position", "1", "--effect", "3", "--at", "40"}},
    };
    for (const auto& picture : pictures) {
        const QString out = dir.filePath(picture.name);
        const CliRun run =
            runCli(QStringList{"render"} + picture.arguments + QStringList{"--out", out});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        expectGolden(out, picture.name);
    }
}

TEST(Golden, ProbabilityPlotsWithAndWithoutFits) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QStringList arguments;
    } plots[] = {
        {"plot_day.png", {"--effect", "1"}},
        {"plot_day.svg", {"--effect", "1"}},
        {"plot_week_75.png", {"--effect", "3", "--block", "week", "--return-period", "75"}},
        {"plot_month.png", {"--effect", "2", "--block", "month"}}, // 5 maxima: no fit
    };
    for (const auto& plot : plots) {
        const QString out = dir.filePath(plot.name);
        const CliRun run = runCli(QStringList{"stats", Sample, "--plot", out} + plot.arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        expectGolden(out, plot.name);
    }
}

// The statistics to the last digit, and the help as it is laid out: a change in a fit's search that
// moves any figure, or in the wrapping of a line, shows here.
TEST(Golden, StatisticsToTheLastDigitAndHelp) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QStringList arguments;
    } texts[] = {
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
    for (const auto& text : texts) {
        const CliRun run = runCli(text.arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString out = dir.filePath(text.name);
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(run.out.toUtf8());
        file.close();
        expectGolden(out, text.name);
    }
}

} // namespace
} // namespace kestavian::test
