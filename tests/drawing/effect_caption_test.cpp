#include "drawing/effect_caption.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "drawing/bridge_drawing.h"
#include "drawing/image_surface.h"
#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeEffect;
using test::MakeTruck;
using test::RecordedOp;
using test::RecordingSurface;

TEST(EffectCaption, TextAndPosition) {
    EffectData twoTrucks = MakeEffect({.Value = 812.5,
                                       .Time = 456.78,
                                       .Distance = 12.3,
                                       .Trucks = {MakeTruck({}), MakeTruck({})}});
    EffectData negative = MakeEffect({.Value = -3.25, .Time = -1, .Distance = -0.5});
    negative.NoTrucks = -1;
    const struct {
        std::string name;
        float span;
        float heightRatio;
        EffectData effect;
        std::string text;
        double x, y;
    } cases[] = {
        {"worked example", 20, 0.15f, twoTrucks,
         "Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2", -29, 4.5},
        {"no trucks", 20, 0.15f, MakeEffect({.Value = 1e6, .Time = 0.1, .Distance = 7}),
         "Value: 1000000   Distance: 7  Time: 0.1  No Trucks: 0", -29, 4.5},
        {"negative values", 20, 0.15f, negative,
         "Value: -3.25   Distance: -0.5  Time: -1  No Trucks: -1", -29, 4.5},
        {"twice the span", 40, 0.15f, twoTrucks,
         "Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2", -58, 9},
        {"twice the road", 20, 0.3f, twoTrucks,
         "Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2", -29, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface picture;
        DrawEffectCaption(picture, c.span, c.effect, {.HeightRatio = c.heightRatio});
        ASSERT_EQ(picture.ops.size(), 1u);
        const RecordedOp& print = picture.ops[0];
        EXPECT_EQ(print.kind, RecordedOp::Print);
        EXPECT_EQ(print.text, c.text);
        EXPECT_NEAR(print.x1, c.x, 1e-5 * std::abs(c.x));
        EXPECT_NEAR(print.y1, c.y, 1e-5 * std::abs(c.y));
        EXPECT_EQ(print.fontSize, 10);
        EXPECT_TRUE(print.fontBold);
        // The font stays for the truck labels printed after the caption.
        EXPECT_EQ(picture.FontSize(), 10);
        EXPECT_TRUE(picture.FontBold());
    }
}

TEST(EffectCaption, PositionBeyondSinglePrecisionIsAnOverflow) {
    RecordingSurface picture;
    EXPECT_EQ(ErrorOf([&] { DrawEffectCaption(picture, 3e38f, EffectData{}, {}); }),
              ErrorNumber::Overflow);
    EXPECT_TRUE(picture.only(RecordedOp::Print).empty());
}

TEST(EffectCaption, PrintedUnderTheRoadFromItsLeftEdge) {
    // 10 pixels a metre: x from -40 to 20, y from -6 to 7.8; the caption starts at (-29, 4.5).
    ImageSurface picture(600, 138);
    DrawBridge(20, picture, {});
    DrawEffectCaption(picture, 20, MakeEffect({.Value = 812.5, .Time = 456.78, .Distance = 12.3}),
                      {});
    const QImage& image = picture.Image();
    int leftOfCaption = 0, inCaption = 0;
    for (int py = 106; py < image.height(); ++py) {
        for (int px = 0; px < image.width(); ++px) {
            if (qGray(image.pixel(px, py)) >= 96)
                continue;
            (px < 110 ? leftOfCaption : inCaption) += 1;
        }
    }
    EXPECT_EQ(leftOfCaption, 0);
    EXPECT_GT(inCaption, 100);
}

} // namespace
} // namespace kestavian
