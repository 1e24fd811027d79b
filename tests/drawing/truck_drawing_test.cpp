#include "drawing/truck_drawing.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian::test {
namespace {

// The truck of the worked example: 12 m long, three axles 4 m and 1.3 m apart.
TruckData exampleTruck() {
    return MakeTruck({.Length = 120, .NoAxles = 3, .GrossWeight = 400, .AxleSpacings = {40, 13}});
}

TEST(TruckDrawing, WorkedExampleCoordinates) {
    const struct {
        std::int16_t travel;
        bool driveRight, flip;
        double bodyX2, bodyY1, bodyY2;
        std::vector<double> wheelXs;
        double wheelY, labelX, labelY;
    } cases[] = {
        {1, false, false, 2, 2.6, 0.6, {-10, -6, -4.7}, 2.6, -5.5, 1.05},
        {-1, false, false, 2, -2.6, -0.6, {2, -2, -3.3}, -0.6, -5.5, -2.1},
        {1, true, false, 2, -2.6, -0.6, {-10, -6, -4.7}, -0.6, -5.5, -2.1},
        {-1, true, false, 2, 2.6, 0.6, {2, -2, -3.3}, 2.6, -5.5, 1.05},
        {1, false, true, -22, 2.6, 0.6, {-10, -14, -15.3}, 2.6, -17.5, 1.05},
        {-1, false, true, -22, -2.6, -0.6, {-22, -18, -16.7}, -0.6, -17.5, -2.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.travel << " " << c.driveRight << " " << c.flip);
        RecordingSurface picture;
        DrawTruck(picture, 20.0f, -10.0, c.travel, exampleTruck(),
                  {.HeightRatio = 0.15f, .DriveRight = c.driveRight, .FlipDatum = c.flip});
        // A white body and its black outline; a wheel (a disc and its hub) at the front axle,
        // then an axle line and a wheel for each axle behind it; the gross weight.
        const std::vector<RecordedOp>& ops = picture.ops;
        std::string kinds;
        for (const RecordedOp& op : ops)
            kinds += "-LBFCP"[op.kind];
        ASSERT_EQ(kinds, "FBCCLCCLCCP");
        EXPECT_EQ(ops[0].colour, ColourWhite);
        EXPECT_EQ(ops[1].colour, ColourBlack);
        for (const RecordedOp& body : {ops[0], ops[1]}) {
            EXPECT_NEAR(body.x1, -10, 1e-5);
            EXPECT_NEAR(body.y1, c.bodyY1, 1e-5);
            EXPECT_NEAR(body.x2, c.bodyX2, 1e-5);
            EXPECT_NEAR(body.y2, c.bodyY2, 1e-5);
        }
        for (std::size_t w = 0; w < 3; ++w) {
            const RecordedOp &wheel = ops[2 + 3 * w], &hub = ops[3 + 3 * w];
            EXPECT_NEAR(wheel.x1, c.wheelXs[w], 1e-5);
            EXPECT_NEAR(wheel.y1, c.wheelY, 1e-5);
            EXPECT_NEAR(wheel.x2, 0.5, 1e-5);
            EXPECT_EQ(hub.x1, wheel.x1);
            EXPECT_NEAR(hub.x2, 0.5 / 3, 1e-5);
            if (w > 0) {
                const RecordedOp& axleLine = ops[1 + 3 * w];
                EXPECT_NEAR(axleLine.x1, c.wheelXs[w], 1e-5);
                EXPECT_NEAR(axleLine.y1, c.bodyY1, 1e-5);
                EXPECT_NEAR(axleLine.y2, c.bodyY2, 1e-5);
            }
        }
        EXPECT_EQ(ops[10].text, "400");
        EXPECT_NEAR(ops[10].x1, c.labelX, 1e-5);
        EXPECT_NEAR(ops[10].y1, c.labelY, 1e-5);
        EXPECT_EQ(ops[10].drawMode, DrawModeInvert);
        EXPECT_EQ(picture.FillStyle(), FillStyleSolid);
        EXPECT_EQ(picture.FillColor(), ColourBlack);
        EXPECT_EQ(picture.DrawMode(), DrawModeCopyPen);
    }
}

TEST(TruckDrawing, FewAxlesAndFailures) {
    const TruckData noAxles = With(With(exampleTruck(), NoAxles, 0), GrossWeight, -5);
    const TruckData tenAxles = With(exampleTruck(), NoAxles, 10); // spacing 9 is past the fields
    // A spacing of -32768 times travel -1 does not fit 16 bits.
    const TruckData farBack = With(exampleTruck(), AxleSpacing(1), -32768);
    RecordingSurface picture;
    DrawTruck(picture, 20.0f, -10.0, -1, noAxles, {});
    EXPECT_EQ(picture.only(RecordedOp::Circle).size(), 2u); // one wheel and its hub
    EXPECT_EQ(picture.only(RecordedOp::Circle)[0].x1, 2.0);
    EXPECT_TRUE(picture.only(RecordedOp::Line).empty());
    EXPECT_EQ(picture.only(RecordedOp::Print).at(0).text, "-5");

    picture.ops.clear();
    EXPECT_EQ(ErrorOf([&] { DrawTruck(picture, 20.0f, -10.0, 1, tenAxles, {}); }),
              ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(picture.only(RecordedOp::Line).size(), 8u); // what was drawn so far stays
    EXPECT_EQ(ErrorOf([&] { DrawTruck(picture, 20.0f, -10.0, -1, farBack, {}); }),
              ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([&] { DrawTruck(picture, 20.0f, -10.0, 1, farBack, {}); }), std::nullopt);
}

} // namespace
} // namespace kestavian::test
