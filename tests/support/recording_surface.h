#pragma once

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "drawing/picture_surface.h"

namespace kestavian::test {

// One primitive as it was asked for, in user units, with the surface settings in force.
struct RecordedOp {
    enum Kind { Cls, Line, Box, FilledBox, Circle, Print } kind = Cls;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Circle: centre (x1, y1), radius in x2
    std::optional<Colour> colour;          // as passed; nullopt = foreground colour
    std::string text;                      // Print
    int drawWidth = 1, drawStyle = 0, drawMode = 13, fillStyle = 1;
    bool fontBold = false;
};

// A surface that draws nothing and records every primitive, for checking coordinates exactly.
class RecordingSurface : public PictureSurface {
public:
    RecordingSurface() { resetScale(641, 167); }

    void Cls() override {
        record(RecordedOp::Cls);
        setCurrentX(0);
        setCurrentY(0);
    }
    void Line(double x1, double y1, double x2, double y2, std::optional<Colour> c) override {
        record(RecordedOp::Line, x1, y1, x2, y2, c);
    }
    void Box(double x1, double y1, double x2, double y2, std::optional<Colour> c) override {
        record(RecordedOp::Box, x1, y1, x2, y2, c);
    }
    void FilledBox(double x1, double y1, double x2, double y2, std::optional<Colour> c) override {
        record(RecordedOp::FilledBox, x1, y1, x2, y2, c);
    }
    void Circle(double x, double y, double radius, std::optional<Colour> c) override {
        record(RecordedOp::Circle, x, y, radius, 0, c);
    }
    void Print(const std::string& text) override {
        record(RecordedOp::Print, CurrentX(), CurrentY()).text = text;
        // A text line is taken as 1/10 of the surface's height, enough to move the position on.
        setCurrentX(ScaleLeft());
        setCurrentY(CurrentY() + ScaleHeight() / 10);
    }

    // The recorded primitives of one kind, in order.
    std::vector<RecordedOp> only(RecordedOp::Kind kind) const {
        std::vector<RecordedOp> result;
        for (const RecordedOp& op : ops)
            if (op.kind == kind)
                result.push_back(op);
        return result;
    }

    // The primitives of one kind as text, coordinates to 4 decimals: "(x1 y1 x2 y2) ...", a
    // circle "(x y r)", a text "(x y 'text')". Ops drawn in the invert mode are marked "~".
    std::string trace(RecordedOp::Kind kind) const {
        const auto number = [](double value) {
            char text[32];
            std::snprintf(text, sizeof text, "%.4g", std::round(value * 1e4) / 1e4 + 0.0);
            return std::string(text);
        };
        std::string text;
        for (const RecordedOp& op : only(kind))
            text += (text.empty() ? "(" : " (") + number(op.x1) + " " + number(op.y1) +
                    (kind == RecordedOp::Print    ? " '" + op.text + "'"
                     : kind == RecordedOp::Circle ? " " + number(op.x2)
                                                  : " " + number(op.x2) + " " + number(op.y2)) +
                    (op.drawMode == 6 ? ")~" : ")");
        return text;
    }

    std::vector<RecordedOp> ops;

private:
    RecordedOp& record(RecordedOp::Kind kind, double x1 = 0, double y1 = 0, double x2 = 0,
                       double y2 = 0, std::optional<Colour> colour = {}) {
        RecordedOp& op = ops.emplace_back(RecordedOp{kind, x1, y1, x2, y2, colour, {}});
        op.drawWidth = DrawWidth(), op.drawStyle = DrawStyle(), op.drawMode = DrawMode();
        op.fillStyle = FillStyle(), op.fontBold = FontBold();
        return op;
    }
};

} // namespace kestavian::test
