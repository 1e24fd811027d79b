#include "drawing/svg_picture.h"

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <algorithm>

#include "drawing/image_surface.h"
#include "drawing/rasteriser.h"

namespace kestavian {

namespace {

QString number(double value) {
    return QString::number(value, 'g', 10);
}

QString colour(QRgb rgb) {
    return QColor(rgb).name(QColor::HexRgb);
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The colour an inverting primitive gives where it is drawn: the inverse of what lies beneath
// its middle.
QRgb invertedBeneath(const QImage& beneath, QPointF middle) {
    const int x = std::clamp(static_cast<int>(middle.x()), 0, beneath.width() - 1);
    const int y = std::clamp(static_cast<int>(middle.y()), 0, beneath.height() - 1);
    return ~beneath.pixel(x, y) | 0xFF000000u;
}

// The pen's stroke attributes.
QString stroke(const Primitive& p, QRgb pen) {
    QString attributes =
        " stroke=\"" + colour(pen) + "\" stroke-width=\"" + number(p.penWidth) + "\"";
    if (p.dashed)
        attributes +=
            " stroke-dasharray=\"" + number(4 * p.penWidth) + " " + number(2 * p.penWidth) + "\"";
    return attributes;
}

QString element(const Primitive& p, const QImage& beneath) {
    const QRgb pen = p.invert ? invertedBeneath(beneath, (p.a + p.b) / 2) : p.pen;
    switch (p.kind) {
    case Primitive::Line:
        return "<line x1=\"" + number(p.a.x()) + "\" y1=\"" + number(p.a.y()) + "\" x2=\"" +
               number(p.b.x()) + "\" y2=\"" + number(p.b.y()) + "\"" + stroke(p, pen) + "/>";
    case Primitive::Box:
    case Primitive::FilledBox: {
        const QRectF box = QRectF(p.a, p.b).normalized();
        const QString fill = p.kind == Primitive::FilledBox ? colour(pen)
                             : p.filled                     ? colour(p.invert ? pen : p.fill)
                                                            : QString("none");
        return "<rect x=\"" + number(box.x()) + "\" y=\"" + number(box.y()) + "\" width=\"" +
               number(box.width()) + "\" height=\"" + number(box.height()) + "\" fill=\"" + fill +
               "\"" + stroke(p, pen) + "/>";
    }
    case Primitive::Circle: {
        const QRgb circlePen = p.invert ? invertedBeneath(beneath, p.a) : p.pen;
        const QString fill = p.filled ? colour(p.invert ? circlePen : p.fill) : QString("none");
        return "<circle cx=\"" + number(p.a.x()) + "\" cy=\"" + number(p.a.y()) + "\" r=\"" +
               number(p.radius) + "\" fill=\"" + fill + "\"" + stroke(p, circlePen) + "/>";
    }
    case Primitive::Text: {
        const QFontMetricsF metrics(p.font, &beneath);
        const QRectF extent(p.a, QSizeF(metrics.horizontalAdvance(p.text), metrics.height()));
        const QRgb ink = p.invert ? invertedBeneath(beneath, extent.center()) : p.pen;
        return "<text x=\"" + number(p.a.x()) + "\" y=\"" + number(p.a.y() + metrics.ascent()) +
               "\" font-family=\"" + escaped(QFontInfo(p.font).family()) + "\" font-size=\"" +
               number(p.font.pointSizeF() * 96 / 72) + "\" font-weight=\"" +
               (p.font.bold() ? "bold" : "normal") + "\" fill=\"" + colour(ink) +
               "\" xml:space=\"preserve\">" + escaped(p.text) + "</text>";
    }
    }
    return {};
}

} // namespace

QByteArray svgPicture(const ImageSurface& surface) {
    const QImage& picture = surface.Image();
    const QString size =
        "width=\"" + number(picture.width()) + "\" height=\"" + number(picture.height()) + "\"";
    QString svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
        size + " viewBox=\"0 0 " + number(picture.width()) + " " + number(picture.height()) +
        "\">\n<rect " + size + " fill=\"#ffffff\"/>\n";
    if (!surface.replayable()) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        picture.save(&png, "PNG");
        return (svg + "<image " + size + " xlink:href=\"data:image/png;base64," +
                QString::fromLatin1(png.data().toBase64()) + "\"/>\n</svg>\n")
            .toUtf8();
    }
    // The picture as it grows, primitive by primitive: what each inverting one is drawn over.
    QImage beneath(picture.size(), QImage::Format_RGB32);
    beneath.setDotsPerMeterX(picture.dotsPerMeterX());
    beneath.setDotsPerMeterY(picture.dotsPerMeterY());
    beneath.fill(Qt::white);
    {
        Rasteriser rasteriser(beneath, 1);
        for (const Primitive& p : surface.primitives()) {
            svg += element(p, beneath) + "\n";
            rasteriser.draw(p);
        }
    }
    return (svg + "</svg>\n").toUtf8();
}

} // namespace kestavian
