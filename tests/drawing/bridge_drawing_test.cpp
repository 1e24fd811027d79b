#include "drawing/bridge_drawing.h"

#include <gtest/gtest.h>
#include <limits>

#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

// The 20 m scene in drawing order: the deck, two road edges, four wing lines, two arrows of
// three strokes each (head strokes go back from the tip by h), the centre line.
std::vector<std::array<float, 4>> expectedLines(bool driveRight, bool flip) {
    const float u = driveRight ? 1.5f : -1.5f; // the lane of the left arrow
    const float h = flip ? 0.6f : -0.6f, tipL = flip ? -30 : -25, tipR = flip ? 10 : 5;
    return {
        {-20, -3, 0, 3},
        {-40, -3, 20, -3},
        {-40, 3, 20, 3},
        {-20, 3, -21, 4},
        {0, 3, 1, 4},
        {-20, -3, -21, -4},
        {0, -3, 1, -4},
        {-30, u, -25, u},
        {tipL, u, tipL + h, u - h},
        {tipL, u, tipL + h, u + h},
        {10, -u, 5, -u},
        {tipR, -u, tipR - h, -u + h},
        {tipR, -u, tipR - h, -u - h},
        {-40, 0, 20, 0},
    };
}

TEST(DrawBridge, DrawsTheSceneInOrderWithItsPenSettings) {
    for (int variant = 0; variant < 8; ++variant) {
        const float span = variant & 4 ? 40.0f : 20.0f;
        const bool driveRight = variant & 2, flip = variant & 1;
        SCOPED_TRACE(testing::Message() << span << " " << driveRight << " " << flip);
        const float k = span / 20; // everything scales with the span but pen widths
        RecordingSurface surface;
        DrawBridge(span, surface, {0.15f, driveRight, flip});
        EXPECT_DOUBLE_EQ(surface.ScaleLeft(), -40 * k);
        EXPECT_FLOAT_EQ(static_cast<float>(surface.ScaleTop()), -6 * k);
        EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 60 * k);
        EXPECT_NEAR(surface.ScaleTop() + surface.ScaleHeight(), 7.8 * k, 1e-5);

        const std::vector<std::array<float, 4>> lines = expectedLines(driveRight, flip);
        ASSERT_EQ(surface.ops.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const RecordedOp& op = surface.ops[i];
            EXPECT_EQ(op.kind, i == 0 ? RecordedOp::FilledBox : RecordedOp::Line) << i;
            EXPECT_FLOAT_EQ(static_cast<float>(op.x1), lines[i][0] * k) << i;
            EXPECT_FLOAT_EQ(static_cast<float>(op.y1), lines[i][1] * k) << i;
            EXPECT_FLOAT_EQ(static_cast<float>(op.x2), lines[i][2] * k) << i;
            EXPECT_FLOAT_EQ(static_cast<float>(op.y2), lines[i][3] * k) << i;
            const bool arrow = i >= 7 && i < 13, centre = i == 13;
            const std::optional<Colour> colour = arrow ? ColourRed : std::optional<Colour>();
            EXPECT_EQ(op.colour, i == 0 ? SystemButtonFace : colour) << i;
            EXPECT_EQ(op.drawWidth, i == 0 || centre ? 1 : 2) << i;
            EXPECT_EQ(op.drawStyle, centre ? DrawStyleDash : DrawStyleSolid) << i;
            EXPECT_EQ(op.fillStyle, FillStyleTransparent) << i;
        }
        EXPECT_EQ(surface.FillStyle(), FillStyleTransparent);
        EXPECT_EQ(surface.FillColor(), ColourBlack);
        EXPECT_EQ(surface.DrawWidth(), 1);
        EXPECT_EQ(surface.DrawStyle(), DrawStyleSolid);
    }
}

TEST(DrawBridge, RefusesWhatCannotBeDrawnBeforeDrawing) {
    for (const float span : {0.0f, -20.0f, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), 3.0e38f}) {
        RecordingSurface surface;
        EXPECT_NE(ErrorOf([&] { DrawBridge(span, surface, {}); }), std::nullopt) << span;
        EXPECT_TRUE(surface.ops.empty());
        EXPECT_EQ(surface.ScaleWidth(), 641);
    }
    RecordingSurface surface;
    EXPECT_EQ(ErrorOf([&] { DrawArrow(1, 1, 1, 1, 0.5f, ColourRed, surface, {}); }),
              ErrorNumber::DivisionByZero);
    EXPECT_TRUE(surface.ops.empty());
}

} // namespace
} // namespace kestavian::test
