#include "support/recording_surface.h"

namespace kestavian::test {

RecordingSurface::RecordingSurface() {
    resetScale(641, 167);
}

RecordedOp RecordingSurface::make(RecordedOp::Kind kind) const {
    RecordedOp op;
    op.kind = kind;
    op.drawWidth = DrawWidth();
    op.drawStyle = DrawStyle();
    op.drawMode = DrawMode();
    op.fillStyle = FillStyle();
    op.fillColor = FillColor();
    op.fontSize = FontSize();
    op.fontBold = FontBold();
    return op;
}

void RecordingSurface::Cls() {
    ops.push_back(make(RecordedOp::Cls));
    setCurrentX(0);
    setCurrentY(0);
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2,
                            std::optional<Colour> colour) {
    RecordedOp op = make(RecordedOp::Line);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    ops.push_back(op);
}

void RecordingSurface::Box(double x1, double y1, double x2, double y2,
                           std::optional<Colour> colour) {
    RecordedOp op = make(RecordedOp::Box);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    ops.push_back(op);
}

void RecordingSurface::FilledBox(double x1, double y1, double x2, double y2,
                                 std::optional<Colour> colour) {
    RecordedOp op = make(RecordedOp::FilledBox);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    ops.push_back(op);
}

void RecordingSurface::Circle(double x, double y, double radius, std::optional<Colour> colour) {
    RecordedOp op = make(RecordedOp::Circle);
    op.x1 = x, op.y1 = y, op.x2 = radius, op.colour = colour;
    ops.push_back(op);
}

void RecordingSurface::Print(const std::string& text) {
    RecordedOp op = make(RecordedOp::Print);
    op.x1 = CurrentX(), op.y1 = CurrentY(), op.text = text;
    ops.push_back(op);
    // A text line is taken as 1/10 of the surface's height, enough to move the position on.
    setCurrentX(ScaleLeft());
    setCurrentY(CurrentY() + ScaleHeight() / 10);
}

std::vector<RecordedOp> RecordingSurface::only(RecordedOp::Kind kind) const {
    std::vector<RecordedOp> result;
    for (const RecordedOp& op : ops)
        if (op.kind == kind)
            result.push_back(op);
    return result;
}

} // namespace kestavian::test
