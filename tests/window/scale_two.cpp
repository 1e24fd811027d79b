#include <QPixmap>

#include "cli/cli_runner.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using ScaleTwo = WindowTest;

// Built to run at QT_SCALE_FACTOR=2, offscreen and on an X server. On screen the picture is drawn
// at the screen's resolution (2-pixel road edges four device pixels, the centre line one); the
// saved one stays 641 x 167, the same picture kestavian-cli draws, text included.
TEST_F(ScaleTwo, ThePictureIsSharpOnScreenAndSavedAsBefore) {
    window->show();
    open(Sample);
    ASSERT_EQ(ui().GA->devicePixelRatioF(), 2.0);
    const QImage shown = ui().GA->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(1282, 334));
    EXPECT_EQ(darkRuns(shown, 40), (std::vector<int>{4, 1, 4}));
    ui().cmdSave->click();
    const QImage saved(QString::fromStdString(path("Span_30_Ev_1_Ef_1.bmp")));
    EXPECT_EQ(rgb32(saved), ui().GA->surface().Image()); // 641 x 167, as before
    const QString drawn = QString::fromStdString(path("cli.bmp"));
    // kestavian-cli as it is run from a shell: no display, no scale factor.
    ASSERT_EQ(runCli({"render", QString::fromStdString(Sample), "--position", "1", "--effect", "1",
                      "--out", drawn},
                     {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "DISPLAY"})
                  .status,
              0);
    EXPECT_EQ(rgb32(saved), rgb32(QImage(drawn)));
}

} // namespace
} // namespace kestavian::test
