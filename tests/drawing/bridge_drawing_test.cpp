#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/bridge_drawing.h"
#include "drawing/image_surface.h"
#include "platform/runtime_error.h"
#include "support/recording_surface.h"

namespace kestavian {
namespace {

using test::RecordedOp;
using test::RecordingSurface;

struct Segment {
    float x1, y1, x2, y2;
};

void expectSegment(const RecordedOp& op, const Segment& s, float scale = 1.0f) {
    EXPECT_FLOAT_EQ(static_cast<float>(op.x1), s.x1 * scale);
    EXPECT_FLOAT_EQ(static_cast<float>(op.y1), s.y1 * scale);
    EXPECT_FLOAT_EQ(static_cast<float>(op.x2), s.x2 * scale);
    EXPECT_FLOAT_EQ(static_cast<float>(op.y2), s.y2 * scale);
}

// The lines of the scene in drawing order: two edges, four wings, two arrows of three strokes
// each, the centre line.
std::vector<Segment> expectedLines(bool driveRight, bool flip) {
    const float up = driveRight ? 1.5f : -1.5f; // the left arrow's lane
    std::vector<Segment> lines = {
        {-40, -3, 20, -3}, {-40, 3, 20, 3},    {-20, 3, -21, 4},
        {0, 3, 1, 4},      {-20, -3, -21, -4}, {0, -3, 1, -4},
    };
    lines.push_back({-30, up, -25, up});
    if (!flip) {
        lines.push_back({-25, up, -25.6f, up + 0.6f});
        lines.push_back({-25, up, -25.6f, up - 0.6f});
    } else {
        lines.push_back({-30, up, -29.4f, up - 0.6f});
        lines.push_back({-30, up, -29.4f, up + 0.6f});
    }
    lines.push_back({10, -up, 5, -up});
    if (!flip) {
        lines.push_back({5, -up, 5.6f, -up - 0.6f});
        lines.push_back({5, -up, 5.6f, -up + 0.6f});
    } else {
        lines.push_back({10, -up, 9.4f, -up + 0.6f});
        lines.push_back({10, -up, 9.4f, -up - 0.6f});
    }
    lines.push_back({-40, 0, 20, 0});
    return lines;
}

TEST(DrawBridge, DrawsTheSceneInOrderWithItsPenSettings) {
    struct Case {
        bool driveRight, flip;
    };
    for (const Case c :
         {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "driveRight " << c.driveRight << " flip " << c.flip);
        RecordingSurface surface;
        DrawBridge(20.0f, surface, {0.15f, c.driveRight, c.flip});

        EXPECT_DOUBLE_EQ(surface.ScaleLeft(), -40);
        EXPECT_FLOAT_EQ(static_cast<float>(surface.ScaleTop()), -6);
        EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 60);
        EXPECT_NEAR(surface.ScaleTop() + surface.ScaleHeight(), 7.8, 1e-6);

        ASSERT_EQ(surface.ops.size(), 14u);
        const RecordedOp& deck = surface.ops[0];
        EXPECT_EQ(deck.kind, RecordedOp::FilledBox);
        expectSegment(deck, {-20, -3, 0, 3});
        EXPECT_EQ(deck.colour, SystemButtonFace);
        EXPECT_EQ(deck.drawWidth, 1);

        const std::vector<Segment> lines = expectedLines(c.driveRight, c.flip);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "line " << i);
            const RecordedOp& op = surface.ops[i + 1];
            ASSERT_EQ(op.kind, RecordedOp::Line);
            expectSegment(op, lines[i]);
            const bool arrow = i >= 6 && i < 12;
            const bool centre = i == 12;
            EXPECT_EQ(op.colour, arrow ? std::optional<Colour>(ColourRed) : std::nullopt);
            EXPECT_EQ(op.drawWidth, centre ? 1 : 2);
            EXPECT_EQ(op.drawStyle, centre ? DrawStyleDash : DrawStyleSolid);
            EXPECT_EQ(op.fillStyle, FillStyleTransparent);
        }

        EXPECT_EQ(surface.FillStyle(), FillStyleTransparent);
        EXPECT_EQ(surface.FillColor(), ColourBlack);
        EXPECT_EQ(surface.DrawWidth(), 1);
        EXPECT_EQ(surface.DrawStyle(), DrawStyleSolid);
        EXPECT_EQ(surface.DrawMode(), DrawModeCopyPen);
    }
}

TEST(DrawBridge, SceneScalesWithTheSpanWhilePenWidthsStayInPixels) {
    RecordingSurface small, large;
    DrawBridge(20.0f, small, {0.15f, false, false});
    DrawBridge(40.0f, large, {0.15f, false, false});
    ASSERT_EQ(small.ops.size(), large.ops.size());
    for (std::size_t i = 0; i < small.ops.size(); ++i) {
        const RecordedOp& a = small.ops[i];
        const RecordedOp& b = large.ops[i];
        expectSegment(b,
                      {static_cast<float>(a.x1), static_cast<float>(a.y1), static_cast<float>(a.x2),
                       static_cast<float>(a.y2)},
                      2.0f);
        EXPECT_EQ(a.drawWidth, b.drawWidth);
    }
    EXPECT_DOUBLE_EQ(large.ScaleWidth(), 2 * small.ScaleWidth());
}

TEST(DrawBridge, RepeatedCallsOnAClearedSurfaceDrawTheSame) {
    RecordingSurface surface;
    DrawBridge(20.0f, surface, {});
    const auto first = surface.ops;
    surface.ops.clear();
    surface.Cls();
    surface.ops.clear();
    DrawBridge(20.0f, surface, {});
    ASSERT_EQ(first.size(), surface.ops.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].x1, surface.ops[i].x1);
        EXPECT_EQ(first[i].y2, surface.ops[i].y2);
        EXPECT_EQ(first[i].drawWidth, surface.ops[i].drawWidth);
    }
}

TEST(DrawBridge, RefusesAnUnusableSpanBeforeDrawing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float span : {0.0f, -0.0f, -20.0f, nan, inf, -inf, 3.0e38f}) {
        SCOPED_TRACE(span);
        RecordingSurface surface;
        const double scaleBefore = surface.ScaleWidth();
        EXPECT_THROW(DrawBridge(span, surface, {}), RuntimeError);
        EXPECT_TRUE(surface.ops.empty());
        EXPECT_EQ(surface.ScaleWidth(), scaleBefore);
    }
}

TEST(DrawArrow, ZeroLengthShaftIsADivisionByZeroAndDrawsNothing) {
    RecordingSurface surface;
    try {
        DrawArrow(1, 1, 1, 1, 0.5f, ColourRed, surface, {});
        FAIL() << "expected a runtime error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), ErrorNumber::DivisionByZero);
    }
    EXPECT_TRUE(surface.ops.empty());
}

// The start-up picture in pixels: 641 x 167 pixels for x -40..20 and y -6..7.8.
class BridgePixels : public testing::Test {
protected:
    void SetUp() override { DrawBridge(20.0f, surface, {0.15f, true, false}); }
    QPoint at(double x, double y) const {
        return {static_cast<int>((x + 40) * 641 / 60), static_cast<int>((y + 6) * 167 / 13.8)};
    }
    QColor pixel(double x, double y) const { return surface.Image().pixelColor(at(x, y)); }
    // Whether a pixel of the given colour lies within two pixels of (x, y).
    bool near(double x, double y, QColor colour) const {
        const QPoint p = at(x, y);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (surface.Image().pixelColor(p + QPoint(dx, dy)) == colour)
                    return true;
        return false;
    }
    ImageSurface surface{641, 167};
};

TEST_F(BridgePixels, DeckIsGreyArrowsRedAndTheRestWhite) {
    EXPECT_EQ(pixel(-10, 1.8), ImageSurface::toQColor(SystemButtonFace));
    EXPECT_NE(pixel(-10, 1.8), QColor(Qt::white));
    // Driving on the right: the left arrow is in the lower lane, the right one in the upper.
    EXPECT_TRUE(near(-27.5, 1.5, Qt::red));
    EXPECT_TRUE(near(7.5, -1.5, Qt::red));
    EXPECT_FALSE(near(-27.5, -1.5, Qt::red));
    EXPECT_TRUE(near(-30, -3, Qt::black)); // road edge
    for (const auto& [x, y] : {std::pair{-35.0, -5.0}, {15.0, 6.0}, {-35.0, 1.5}, {15.0, -1.0}})
        EXPECT_EQ(pixel(x, y), QColor(Qt::white)) << x << ", " << y;
}

TEST_F(BridgePixels, CentreLineIsDashed) {
    // The row with the most black pixels on the left approach, near y = 0.
    int row = -1, most = 0;
    for (int y = at(0, -0.5).y(); y <= at(0, 0.5).y(); ++y) {
        int count = 0;
        for (int x = 0; x < at(-21, 0).x(); ++x)
            count += surface.Image().pixelColor(x, y) == QColor(Qt::black);
        if (count > most)
            most = count, row = y;
    }
    ASSERT_GE(row, 0) << "no centre line found";
    int black = 0, white = 0, runs = 0;
    QColor previous;
    for (int x = 0; x < at(-21, 0).x(); ++x) {
        const QColor c = surface.Image().pixelColor(x, row);
        black += c == QColor(Qt::black);
        white += c == QColor(Qt::white);
        runs += x > 0 && c != previous;
        previous = c;
    }
    EXPECT_GT(black, 20);
    EXPECT_GT(white, 20);
    EXPECT_GT(runs, 6) << "a solid line has no gaps";
}

} // namespace
} // namespace kestavian
