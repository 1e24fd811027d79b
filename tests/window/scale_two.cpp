#include <QPixmap>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using ScaleTwo = WindowTest;

// Built to run at QT_SCALE_FACTOR=2. On screen the picture is drawn at the screen's resolution
// (2-pixel road edges four device pixels, the centre line one); the saved one stays 641 x 167.
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
