#include "drawing/effect_caption.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

TEST(EffectCaption, TextAndPosition) {
    const EffectData example = MakeEffect({.Value = 812.5,
                                           .Time = 456.78,
                                           .Distance = 12.3,
                                           .Trucks = {MakeTruck({}), MakeTruck({})}});
    EffectData negative = MakeEffect({.Value = -3.25, .Time = -1, .Distance = -0.5});
    negative.NoTrucks = -1;
    const std::string exampleText = "Value: 812.5   Distance: 12.3  Time: 456.78  No Trucks: 2";
    const struct {
        float span, heightRatio;
        EffectData effect;
        std::string text;
        double x, y;
    } cases[] = {
        {20, 0.15f, example, exampleText, -29, 4.5},
        {20, 0.15f, negative, "Value: -3.25   Distance: -0.5  Time: -1  No Trucks: -1", -29, 4.5},
        {40, 0.3f, example, exampleText, -58, 18},
    };
    for (const auto& c : cases) {
        RecordingSurface picture;
        DrawEffectCaption(picture, c.span, c.effect, {.HeightRatio = c.heightRatio});
        ASSERT_EQ(picture.ops.size(), 1u);
        const RecordedOp& print = picture.ops[0];
        EXPECT_EQ(print.kind, RecordedOp::Print);
        EXPECT_EQ(print.text, c.text);
        EXPECT_NEAR(print.x1, c.x, 1e-5);
        EXPECT_NEAR(print.y1, c.y, 1e-5);
        // In 10-point bold, which stays for the truck labels printed after the caption.
        EXPECT_TRUE(print.fontSize == 10 && print.fontBold);
        EXPECT_TRUE(picture.FontSize() == 10 && picture.FontBold());
    }
    RecordingSurface picture;
    EXPECT_EQ(ErrorOf([&] { DrawEffectCaption(picture, 3e38f, EffectData{}, {}); }),
              ErrorNumber::Overflow);
    EXPECT_TRUE(picture.ops.empty());
}

} // namespace
} // namespace kestavian::test
