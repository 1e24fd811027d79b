#pragma once

#include <QFont>
#include <QPointF>
#include <QRgb>
#include <QString>

namespace kestavian {

// One drawing operation of a picture surface as it was made: geometry in surface pixels before any
// clamping, and the settings that were in force. Replaying a list of them at a device pixel ratio
// (or into a vector format) gives the same picture; nothing else needs the user scale.
struct Primitive {
    enum Kind : unsigned char { Line, Box, FilledBox, Circle, Text } kind;
    bool invert, dashed, filled;
    int penWidth;
    QRgb pen, fill;
    QPointF a, b; // the end points, the corners, or the centre and the text's top left
    double radius;
    QString text;
    QFont font;
};

} // namespace kestavian
