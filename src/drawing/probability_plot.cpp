#include "drawing/probability_plot.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "stats/gev.h"

namespace kestavian {
namespace {

constexpr double z975 = 1.959963984540054;
// A period of one year has no place on the scale: 1 / (1 - F_B^B) only tends to 1 as the level
// falls without end. The scale starts at two years.
constexpr std::array<double, 4> periods{2, 10, 100, 1000};
constexpr int curveSteps = 120;

// Where a return period sits across: the reduced variate -ln k of the level whose period it is,
// k = -ln F for a non-empty block. Empty where no level has that period.
std::optional<double> periodVariate(const stats::BlockModel& model, double years) {
    const stats::Result<double> k = stats::levelExponent(model, years);
    if (!k || !(*k > 0))
        return std::nullopt;
    return -std::log(*k);
}

double quantile(const stats::GevParams& p, double variate) {
    return p.mu + p.sigma * stats::quantileOffset(std::exp(-variate), p.xi).value;
}

double deltaError(const stats::Fit& fit, double variate) {
    const stats::QuantileOffset q = stats::quantileOffset(std::exp(-variate), fit.params.xi);
    const std::array<double, 3> g{1, q.value, fit.params.sigma * q.slope};
    double v = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            v += g[i] * fit.covariance[i][j] * g[j];
    return std::sqrt(std::max(0.0, v));
}

QString number(double v) {
    return QString::number(v, 'g', 5);
}

} // namespace

PlotMapping::PlotMapping(const PlotInput& input, QSizeF size) {
    const std::size_t n = input.maxima.size();
    area_ = QRectF(QPointF(72, 62), QPointF(size.width() - 24, size.height() - 64));
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return input.maxima[a] < input.maxima[b];
    });
    variates_.assign(n, 0);
    values_ = input.maxima;
    for (std::size_t rank = 0; rank < n; ++rank)
        variates_[order[rank]] =
            -std::log(-std::log(static_cast<double>(rank + 1) / static_cast<double>(n + 1)));

    // Across: the points and every period's mark; up: points, curves and the marked level.
    x0_ = -2;
    x1_ = 2;
    for (const double v : variates_) {
        x0_ = std::min(x0_, v);
        x1_ = std::max(x1_, v);
    }
    for (const double t : {periods.back(), input.years})
        if (const auto v = periodVariate(input.model, t))
            x1_ = std::max(x1_, *v);
    x0_ -= 0.3;
    x1_ += 0.3;
    std::vector<double> ys = values_;
    for (const auto& fit : {input.gev, input.gumbel}) {
        if (!fit)
            continue;
        for (const double x : {x0_, x1_}) {
            const double e = fit->model == stats::Model::Gev ? z975 * deltaError(*fit, x) : 0;
            ys.push_back(quantile(fit->params, x) - e);
            ys.push_back(quantile(fit->params, x) + e);
        }
    }
    ys.erase(std::remove_if(ys.begin(), ys.end(), [](double v) { return !std::isfinite(v); }),
             ys.end());
    if (!ys.empty()) {
        y0_ = *std::min_element(ys.begin(), ys.end());
        y1_ = *std::max_element(ys.begin(), ys.end());
    }
    const double pad = y1_ > y0_ ? (y1_ - y0_) * 0.05 : 1;
    y0_ -= pad;
    y1_ += pad;
}

QPointF PlotMapping::toPixel(double variate, double value) const {
    return {area_.left() + (variate - x0_) / (x1_ - x0_) * area_.width(),
            area_.bottom() - (value - y0_) / (y1_ - y0_) * area_.height()};
}

QPointF PlotMapping::pointOf(std::size_t index) const {
    return toPixel(variates_.at(index), values_.at(index));
}

void drawProbabilityPlot(QPainter& painter, const PlotInput& input, QSize size,
                         qreal devicePixelRatio) {
    const PlotMapping map(input, size);
    const QRectF area = map.area();
    const qreal hair = 1 / std::max<qreal>(1, devicePixelRatio);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);

    // Grid and scales: reduced variate below, return periods above.
    painter.setPen(QPen(QColor(225, 225, 225), hair));
    for (int x = static_cast<int>(std::ceil(map.left())); x <= map.right(); ++x)
        painter.drawLine(map.toPixel(x, map.bottom()), map.toPixel(x, map.top()));
    painter.setPen(QPen(Qt::black, hair));
    painter.drawRect(area);
    for (int x = static_cast<int>(std::ceil(map.left())); x <= map.right(); ++x) {
        const QPointF p = map.toPixel(x, map.bottom());
        painter.drawText(QRectF(p.x() - 20, p.y() + 4, 40, 16), Qt::AlignCenter,
                         QString::number(x));
    }
    const double step = std::pow(10, std::floor(std::log10((map.top() - map.bottom()) / 4)));
    for (double y = std::ceil(map.bottom() / step) * step; y <= map.top(); y += step) {
        const QPointF p = map.toPixel(map.left(), y);
        painter.drawLine(p, p - QPointF(4, 0));
        painter.drawText(QRectF(0, p.y() - 8, area.left() - 6, 16),
                         Qt::AlignRight | Qt::AlignVCenter, number(y));
    }
    for (const double t : periods) {
        if (const auto v = periodVariate(input.model, t)) {
            const QPointF p = map.toPixel(*v, map.top());
            painter.drawLine(p, p - QPointF(0, 5));
            painter.drawText(QRectF(p.x() - 30, p.y() - 20, 60, 14), Qt::AlignCenter,
                             QString::number(t));
        }
    }
    painter.drawText(
        QRectF(area.left(), size.height() - 40, area.width(), 18), Qt::AlignCenter,
        QStringLiteral("Reduced variate \u2212ln(\u2212ln F), plotting position i/(n+1)"));
    painter.drawText(QRectF(area.right() - 200, area.top() - 38, 200, 16), Qt::AlignRight,
                     QStringLiteral("Return period (years)"));
    painter.save();
    painter.translate(14, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-150, -8, 300, 16), Qt::AlignCenter, QStringLiteral("Block maximum"));
    painter.restore();
    QFont bold = font;
    bold.setBold(true);
    bold.setPixelSize(15);
    painter.setFont(bold);
    painter.drawText(QRectF(0, 6, size.width(), 20), Qt::AlignCenter,
                     QStringLiteral("%1 \u2014 effect %2 \u2014 %3 blocks \u2014 %4")
                         .arg(input.file)
                         .arg(input.effect)
                         .arg(input.block, input.type));
    painter.setFont(font);

    painter.setClipRect(area);
    // The GEV's 95 % band, then both fitted curves.
    const auto curve = [&](const stats::Fit& fit, double offset) {
        QPolygonF line;
        for (int i = 0; i <= curveSteps; ++i) {
            const double x = map.left() + (map.right() - map.left()) * i / curveSteps;
            const double z = quantile(fit.params, x) + offset * deltaError(fit, x);
            if (std::isfinite(z))
                line << map.toPixel(x, z);
        }
        return line;
    };
    if (input.gev) {
        QPolygonF band = curve(*input.gev, z975);
        const QPolygonF lower = curve(*input.gev, -z975);
        for (auto it = lower.rbegin(); it != lower.rend(); ++it)
            band << *it;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(70, 110, 200, 50));
        painter.drawPolygon(band);
        painter.setPen(QPen(QColor(30, 70, 170), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(curve(*input.gev, 0));
    }
    if (input.gumbel) {
        painter.setPen(QPen(QColor(20, 130, 60), 2, Qt::DashLine));
        painter.drawPolyline(curve(*input.gumbel, 0));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(240, 150, 30));
    for (std::size_t i = 0; i < input.maxima.size(); ++i)
        painter.drawEllipse(map.pointOf(i), 3, 3);

    // The marked level on the GEV (or the Gumbel when it is the only fit).
    const std::optional<stats::Fit>& marked = input.gev ? input.gev : input.gumbel;
    const auto markVariate = periodVariate(input.model, input.years);
    QString levelText;
    if (marked && markVariate) {
        const double z = quantile(marked->params, *markVariate);
        const QPointF p = map.toPixel(*markVariate, z);
        painter.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DotLine));
        painter.drawLine(QPointF(area.left(), p.y()), p);
        painter.drawLine(p, QPointF(p.x(), area.bottom()));
        painter.setPen(QPen(QColor(200, 30, 30), 2));
        painter.drawLine(p - QPointF(6, 6), p + QPointF(6, 6));
        painter.drawLine(p - QPointF(6, -6), p + QPointF(6, -6));
        levelText = QStringLiteral("%1-year level %2").arg(input.years).arg(number(z));
    }
    painter.setClipping(false);

    // Legend.
    const QString gevText =
        input.gev ? QStringLiteral("GEV fit, \u03be = %1").arg(number(input.gev->params.xi))
                  : QString();
    const std::array<std::pair<QString, int>, 5> entries{
        std::pair{QStringLiteral("Block maxima (%1)").arg(input.maxima.size()), 0},
        std::pair{gevText, 1},
        std::pair{input.gev ? QStringLiteral("GEV 95 % band") : QString(), 2},
        std::pair{input.gumbel ? QStringLiteral("Gumbel fit") : QString(), 3},
        std::pair{levelText, 4}};
    QPointF at = area.topLeft() + QPointF(10, 10);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.setPen(QPen(QColor(160, 160, 160), hair));
    painter.drawRect(QRectF(at, QSizeF(230, 104)));
    for (const auto& [text, kind] : entries) {
        if (text.isEmpty())
            continue;
        const QPointF mid = at + QPointF(18, 14);
        switch (kind) {
        case 0:
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(QColor(240, 150, 30));
            painter.drawEllipse(mid, 3, 3);
            break;
        case 1:
            painter.setPen(QPen(QColor(30, 70, 170), 2));
            painter.drawLine(mid - QPointF(10, 0), mid + QPointF(10, 0));
            break;
        case 2:
            painter.fillRect(QRectF(mid - QPointF(10, 5), QSizeF(20, 10)),
                             QColor(70, 110, 200, 50));
            break;
        case 3:
            painter.setPen(QPen(QColor(20, 130, 60), 2, Qt::DashLine));
            painter.drawLine(mid - QPointF(10, 0), mid + QPointF(10, 0));
            break;
        default:
            painter.setPen(QPen(QColor(200, 30, 30), 2));
            painter.drawLine(mid - QPointF(5, 5), mid + QPointF(5, 5));
            painter.drawLine(mid - QPointF(5, -5), mid + QPointF(5, -5));
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() + 36, at.y() + 5, 190, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        at.ry() += 19;
    }
    painter.restore();
}

bool writePlot(const PlotInput& input, const QString& path, QSize size, qreal devicePixelRatio) {
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Probability plot"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        drawProbabilityPlot(painter, input, size, 1);
        return painter.end();
    }
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    {
        QPainter painter(&image);
        drawProbabilityPlot(painter, input, size, devicePixelRatio);
    }
    return image.save(path, "PNG");
}

std::optional<std::size_t> maximumAt(const PlotInput& input, QSizeF size, QPointF point,
                                     qreal radius) {
    const PlotMapping map(input, size);
    std::optional<std::size_t> nearest;
    qreal best = radius * radius;
    for (std::size_t i = 0; i < input.maxima.size(); ++i) {
        const QPointF d = map.pointOf(i) - point;
        const qreal distance = QPointF::dotProduct(d, d);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

} // namespace kestavian
