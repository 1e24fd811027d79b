#include "drawing/image_surface.h"

#include <cmath>
#include <gtest/gtest.h>

#include "drawing/headless_scene.h"
#include "drawing/picture_size.h"
#include "drawing/scene_drawing.h"
#include "drawing/truck_drawing.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

// The lengths of the dark runs down one column of pixels.
std::vector<int> darkRuns(const QImage& image, int column) {
    std::vector<int> runs{0};
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(column, y)) < 128)
            ++runs.back();
        else if (runs.back() > 0)
            runs.push_back(0);
    if (runs.back() == 0)
        runs.pop_back();
    return runs;
}

// How wide the dark part of the rows from top on is, from its leftmost pixel to its rightmost.
int darkWidth(const QImage& image, int top, int rows) {
    int left = image.width(), right = 0;
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right - left;
}

TEST(ImageSurface, ReplaysTheDrawingAtTheScreensRatio) {
    ImageSurface picture(PictureWidthPixels, PictureHeightPixels);
    HeadlessScene labels{ViewSettings{}};
    TruckData firstOn;
    DrawEffectBackground({}, Scene{picture, labels, firstOn}, MakeEffect({.Value = 812.5}));
    DrawTruck({}, picture, -10.0, 1,
              MakeTruck({.Length = 120, .NoAxles = 2, .GrossWeight = 400, .AxleSpacings = {50}}));
    const ImageSurface copy = picture; // before anything was rendered
    const QImage oneToOne = picture.Image().copy();

    const QImage sharp = picture.imageAt(2);
    ASSERT_EQ(sharp.size(), QSize(1282, 334));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    // The road edges are two pixels wide and the centre line one: at ratio 2 four device pixels
    // and still one.
    EXPECT_EQ(darkRuns(oneToOne, 20), (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(darkRuns(sharp, 40), (std::vector<int>{4, 1, 4}));
    // The caption's text is drawn at the finer resolution, as large as before (give or take the
    // fitting of glyphs to each resolution's pixels).
    EXPECT_NEAR(darkWidth(sharp, 248, 42) / (2.0 * darkWidth(oneToOne, 124, 21)), 1, 0.1);

    // The saved picture is untouched by the replay, and no finer screen means that picture.
    EXPECT_EQ(picture.Image(), oneToOne);
    for (const double ratio : {1.0, 0.5, std::nan("")})
        EXPECT_EQ(picture.imageAt(ratio), oneToOne);
    // A copy renders the same picture by itself, and a cleared picture is white at any ratio.
    EXPECT_EQ(copy.imageAt(2), sharp);
    picture.Cls();
    EXPECT_TRUE(darkRuns(picture.imageAt(2), 40).empty());
}

// Drawn over and over without clearing: everything stays in the picture, which from then on is also
// the one shown on finer screens.
TEST(ImageSurface, LongDrawingWithoutClearing) {
    ImageSurface picture(64, 16);
    PictureSurface& drawing = picture;
    drawing.Line(0, 1, 64, 1);
    for (int i = 0; i < 70000; ++i)
        drawing.Line(0, 5, 64, 5);
    drawing.Line(0, 9, 64, 9);
    EXPECT_EQ(darkRuns(picture.Image(), 30), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(picture.imageAt(2), picture.Image());
}

} // namespace
} // namespace kestavian::test
