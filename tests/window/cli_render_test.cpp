#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <string_view>

#include "cli/cli_runner.h"
#include "drawing/picture_size.h"
#include "window/control_table.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

// The headless tool draws at the shared picture size; it must be the window's picture.
static_assert(std::string_view(ControlTable[0].name) == "GA" &&
              twipsToPixels(ControlTable[0].width) == PictureWidthPixels &&
              twipsToPixels(ControlTable[0].height) == PictureHeightPixels);

using CliMatchesWindow = WindowTest;

TEST_F(CliMatchesWindow, RenderGivesTheWindowsPixels) {
    const std::string file = workedExample("Events_32.5_worked.txt");
    open(file);
    window->chkAnimate->setChecked(false); // lets the critical-position box be ticked

    struct State {
        int effect;
        int at; // -1: critical position
        bool driveLeft, mixed, flip;
    };
    const State states[] = {
        {1, 0, false, false, false}, {1, 150, true, false, false},
        {1, 80, false, true, true},  {3, -1, true, false, true},
        {3, 60, false, true, false}, {1, 30000, true, true, false}, // past the range: held at Max
        {2, 0, false, false, false}, // no trucks: span and caption only
    };
    for (const State& s : states) {
        SCOPED_TRACE(testing::Message() << "effect " << s.effect << " at " << s.at);
        window->chkCritPos->setChecked(false);
        window->optDatum[s.mixed ? 1 : 0]->setChecked(true);
        window->optDriveSide[s.driveLeft ? 0 : 1]->setChecked(true);
        window->chkFlip->setChecked(s.flip);
        window->cmbEffect->setCurrentIndex(s.effect - 1);
        window->cmbEffect_Click();
        if (s.at < 0)
            window->chkCritPos->setChecked(true);
        else
            window->scrTrucks->setValue(s.at);

        const QString out = QString::fromStdString(path("picture.png"));
        QStringList arguments{
            "render",   QString::fromStdString(file), "--event", "1",
            "--effect", QString::number(s.effect),    "--drive", s.driveLeft ? "left" : "right",
            "--datum",  s.mixed ? "mixed" : "rhs",    "--out",   out};
        arguments << (s.at < 0 ? QStringList{"--critical"}
                               : QStringList{"--at", QString::number(s.at)});
        if (s.flip)
            arguments << "--flip";
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(rgb32(QImage(out)), rgb32(window->GA->surface().Image()));
    }
}

// The sample's blocks as the window appends them, one pick at a time, under either datum type.
TEST_F(CliMatchesWindow, TimingsGiveTheWindowsDiagnosticsLines) {
    open(Sample);
    for (const bool mixed : {false, true}) {
        window->optDatum[mixed ? 1 : 0]->setChecked(true);
        const std::size_t before = window->txtOutText().size();
        for (int event = 0; event < window->cmbEvent->count(); ++event)
            for (int effect = 0; effect < window->cmbEffect->count(); ++effect) {
                window->cmbEvent->setCurrentIndex(event);
                window->cmbEffect->setCurrentIndex(effect);
                window->cmbEffect_Click();
            }
        const std::string fromWindow = window->txtOutText().substr(before);

        const CliRun run =
            runCli({"timings", QString::fromStdString(Sample), "--datum", mixed ? "mixed" : "rhs"});
        ASSERT_EQ(run.status, 0);
        std::string fromCli;
        int errors = 0;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith("error: "))
                ++errors;
            else if (!line.startsWith("Event "))
                fromCli += line.toStdString() + "\r\n";
        }
        EXPECT_EQ(fromCli, fromWindow);
        EXPECT_GT(errors, 0); // the sample has effects without trucks
    }
}

} // namespace
} // namespace kestavian::test
