// Run with QT_SCALE_FACTOR=2: the window on a screen of device pixel ratio 2.
#include <QPixmap>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using ScaleTwo = WindowTest;

// On screen the picture is drawn at the screen's resolution: the 2-pixel road edges are four
// device pixels and the centre line one, not a blown-up image. The saved picture stays the
// 641 x 167 one.
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
}

} // namespace
} // namespace kestavian::test
