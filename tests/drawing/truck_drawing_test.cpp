#include "drawing/truck_drawing.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "drawing/bridge_drawing.h"
#include "drawing/effect_caption.h"
#include "drawing/image_surface.h"
#include "support/record_builders.h"
#include "support/recording_surface.h"

namespace kestavian {
namespace {

using test::ErrorOf;
using test::MakeTruck;
using test::RecordedOp;
using test::RecordingSurface;

constexpr float kSpan = 20.0f;
constexpr double kTol = 1e-5; // coordinates are good to single precision

// The truck of the worked example: 12 m long, three axles 4 m and 1.3 m apart.
TruckData exampleTruck() {
    return MakeTruck({.Length = 120, .NoAxles = 3, .GrossWeight = 400, .AxleSpacings = {40, 13}});
}

struct Expected {
    double bodyX1, bodyY1, bodyX2, bodyY2;
    std::vector<double> wheelXs;
    double wheelY;
    double labelX, labelY;
};

TEST(TruckDrawing, WorkedExampleCoordinates) {
    const struct {
        std::string name;
        std::int16_t travel;
        bool driveRight;
        bool flip;
        Expected expected;
    } cases[] = {
        {"travel +1, lower lane",
         1,
         false,
         false,
         {-10, 2.6, 2, 0.6, {-10, -6, -4.7}, 2.6, -5.5, 1.05}},
        {"travel -1, upper lane",
         -1,
         false,
         false,
         {-10, -2.6, 2, -0.6, {2, -2, -3.3}, -0.6, -5.5, -2.1}},
        {"drive right puts travel +1 up",
         1,
         true,
         false,
         {-10, -2.6, 2, -0.6, {-10, -6, -4.7}, -0.6, -5.5, -2.1}},
        {"drive right puts travel -1 down",
         -1,
         true,
         false,
         {-10, 2.6, 2, 0.6, {2, -2, -3.3}, 2.6, -5.5, 1.05}},
        {"flipped, travel +1",
         1,
         false,
         true,
         {-10, 2.6, -22, 0.6, {-10, -14, -15.3}, 2.6, -17.5, 1.05}},
        {"flipped, travel -1",
         -1,
         false,
         true,
         {-10, -2.6, -22, -0.6, {-22, -18, -16.7}, -0.6, -17.5, -2.1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Expected& e = c.expected;
        RecordingSurface picture;
        DrawTruck(picture, kSpan, -10.0, c.travel, exampleTruck(),
                  {.HeightRatio = 0.15f, .DriveRight = c.driveRight, .FlipDatum = c.flip});

        // The body: white fill first, then a black outline with the same corners.
        const auto fills = picture.only(RecordedOp::FilledBox);
        const auto boxes = picture.only(RecordedOp::Box);
        ASSERT_EQ(fills.size(), 1u);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(fills[0].colour, ColourWhite);
        EXPECT_EQ(boxes[0].colour, ColourBlack);
        EXPECT_EQ(boxes[0].fillStyle, FillStyleTransparent);
        for (const RecordedOp& body : {fills[0], boxes[0]}) {
            EXPECT_NEAR(body.x1, e.bodyX1, kTol);
            EXPECT_NEAR(body.y1, e.bodyY1, kTol);
            EXPECT_NEAR(body.x2, e.bodyX2, kTol);
            EXPECT_NEAR(body.y2, e.bodyY2, kTol);
        }

        // Each wheel is a black disc and an inverted hub a third of its size; an axle line
        // crosses the body at every wheel after the first.
        const auto circles = picture.only(RecordedOp::Circle);
        const auto lines = picture.only(RecordedOp::Line);
        ASSERT_EQ(circles.size(), 2 * e.wheelXs.size());
        ASSERT_EQ(lines.size(), e.wheelXs.size() - 1);
        for (std::size_t w = 0; w < e.wheelXs.size(); ++w) {
            const RecordedOp& wheel = circles[2 * w];
            const RecordedOp& hub = circles[2 * w + 1];
            EXPECT_NEAR(wheel.x1, e.wheelXs[w], kTol);
            EXPECT_NEAR(wheel.y1, e.wheelY, kTol);
            EXPECT_NEAR(wheel.x2, 0.5, kTol);
            EXPECT_EQ(wheel.fillStyle, FillStyleSolid);
            EXPECT_EQ(wheel.fillColor, ColourBlack);
            EXPECT_EQ(wheel.drawMode, DrawModeCopyPen);
            EXPECT_NEAR(hub.x2, 0.5 / 3, kTol);
            EXPECT_EQ(hub.drawMode, DrawModeInvert);
            if (w > 0) {
                EXPECT_NEAR(lines[w - 1].x1, e.wheelXs[w], kTol);
                EXPECT_NEAR(lines[w - 1].y1, e.bodyY1, kTol);
                EXPECT_NEAR(lines[w - 1].y2, e.bodyY2, kTol);
            }
        }

        const auto prints = picture.only(RecordedOp::Print);
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, "400");
        EXPECT_NEAR(prints[0].x1, e.labelX, kTol);
        EXPECT_NEAR(prints[0].y1, e.labelY, kTol);
        EXPECT_EQ(prints[0].drawMode, DrawModeInvert);

        EXPECT_EQ(picture.FillStyle(), FillStyleSolid);
        EXPECT_EQ(picture.FillColor(), ColourBlack);
        EXPECT_EQ(picture.DrawMode(), DrawModeCopyPen);
    }
}

TEST(TruckDrawing, FewAxlesAndLabels) {
    const struct {
        std::int16_t axles;
        std::int16_t grossWeight;
        std::string label;
    } cases[] = {{0, 0, "0"}, {1, 1234, "1234"}, {1, -5, "-5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axles);
        RecordingSurface picture;
        TruckData truck = exampleTruck();
        truck.Data(NoAxles) = c.axles;
        truck.Data(GrossWeight) = c.grossWeight;
        DrawTruck(picture, kSpan, -10.0, -1, truck, {.DriveRight = false});
        const auto circles = picture.only(RecordedOp::Circle);
        ASSERT_EQ(circles.size(), 2u); // one wheel and its hub, at the front end
        EXPECT_NEAR(circles[0].x1, 2.0, kTol);
        EXPECT_TRUE(picture.only(RecordedOp::Line).empty());
        ASSERT_EQ(picture.only(RecordedOp::Print).size(), 1u);
        EXPECT_EQ(picture.only(RecordedOp::Print)[0].text, c.label);
    }
}

TEST(TruckDrawing, Failures) {
    TruckData tenAxles = exampleTruck();
    tenAxles.Data(NoAxles) = 10; // spacing 9 lies past the truck's fields
    TruckData farBack = exampleTruck();
    farBack.Data(AxleSpacing(1)) = -32768; // times travel -1 does not fit 16 bits

    RecordingSurface picture;
    EXPECT_EQ(ErrorOf([&] { DrawTruck(picture, kSpan, -10.0, 1, tenAxles, {}); }),
              ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(picture.only(RecordedOp::Line).size(), 8u); // drawn so far stays
    EXPECT_EQ(
        ErrorOf([&] { DrawTruck(picture, kSpan, -10.0, -1, farBack, {.DriveRight = false}); }),
        ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([&] { DrawTruck(picture, kSpan, -10.0, 1, farBack, {.DriveRight = false}); }),
              std::nullopt);
}

bool isDark(QRgb pixel) {
    return qGray(pixel) < 96;
}
bool isLight(QRgb pixel) {
    return qGray(pixel) > 192;
}

TEST(TruckDrawing, PixelsShowLightHubsAndADarkLabelOnAWhiteBody) {
    // 10 pixels a metre across and down: x from -40 to 20, y from -6 to 7.8.
    ImageSurface picture(600, 138);
    const DrawSettings settings{.DriveRight = false};
    DrawBridge(kSpan, picture, settings);
    DrawEffectCaption(picture, kSpan, EffectData{}, settings); // sets the 10-point bold font
    TruckData truck = exampleTruck();
    truck.Data(NoAxles) = 1; // keep the body clear of axle lines
    DrawTruck(picture, kSpan, -10.0, 1, truck, settings);

    const QImage& image = picture.Image();
    const auto pixel = [&](double x, double y) {
        return image.pixel(static_cast<int>((x + 40) * 10), static_cast<int>((y + 6) * 10));
    };
    // The wheel at (-10, 2.6), 5 px in radius, with a hub of under 2 px.
    EXPECT_TRUE(isLight(pixel(-10, 2.6)));
    EXPECT_TRUE(isDark(pixel(-10.35, 2.6)));
    EXPECT_TRUE(isDark(pixel(-9.65, 2.6)));

    // The body is white over the grey deck, apart from the label printed from (-5.5, 1.05).
    EXPECT_NE(pixel(-15, -1.5), qRgb(255, 255, 255));
    EXPECT_EQ(pixel(-8, 1.5), qRgb(255, 255, 255));
    int labelDark = 0;
    for (int px = static_cast<int>((-5.5 + 40) * 10); px < (2 + 40) * 10 - 1; ++px)
        for (int py = static_cast<int>((0.6 + 6) * 10) + 1; py < (2.6 + 6) * 10 - 1; ++py)
            labelDark += isDark(image.pixel(px, py)) ? 1 : 0;
    EXPECT_GT(labelDark, 10);
}

} // namespace
} // namespace kestavian
