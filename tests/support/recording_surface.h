#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/picture_surface.h"

namespace kestavian::test {

// One primitive as it was asked for, in user units, with the surface settings in force.
struct RecordedOp {
    enum Kind { Cls, Line, Box, FilledBox, Circle, Print } kind = Cls;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Circle: centre (x1, y1), radius in x2
    std::optional<Colour> colour;          // as passed; nullopt = foreground colour
    std::string text;                      // Print
    int drawWidth = 1, drawStyle = 0, drawMode = 13, fillStyle = 1;
    Colour fillColor = 0;
    double fontSize = 0;
    bool fontBold = false;
};

// A surface that draws nothing and records every primitive, for checking coordinates exactly.
class RecordingSurface : public PictureSurface {
public:
    RecordingSurface();

    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour) override;
    void Box(double x1, double y1, double x2, double y2, std::optional<Colour> colour) override;
    void FilledBox(double x1, double y1, double x2, double y2,
                   std::optional<Colour> colour) override;
    void Circle(double x, double y, double radius, std::optional<Colour> colour) override;
    void Print(const std::string& text) override;

    std::vector<RecordedOp> ops;

    // The recorded primitives of one kind, in order.
    std::vector<RecordedOp> only(RecordedOp::Kind kind) const;

private:
    RecordedOp make(RecordedOp::Kind kind) const;
};

} // namespace kestavian::test
