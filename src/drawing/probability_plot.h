#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "stats/gev_fit.h"
#include "stats/return_level.h"

class QPainter;

namespace kestavian {

// What the probability plot of one effect's block maxima shows, and its title.
struct PlotInput {
    QString file;
    int effect = 1;
    QString block = "day";
    QString type = "all trucks";
    std::vector<double> maxima; // in any order; a hit test answers with an index into this
    stats::BlockModel model;
    std::optional<stats::Fit> gev;
    std::optional<stats::Fit> gumbel;
    double years = 1000; // the level marked
};

// Gumbel paper: the reduced variate -ln(-ln F) of a non-empty block's distribution across, the
// value up. The drawing, the hit test and anyone placing points use this one mapping.
class PlotMapping {
public:
    PlotMapping(const PlotInput& input, QSizeF size);

    QRectF area() const { return area_; }
    QPointF toPixel(double variate, double value) const;
    // Where the i-th maximum (an index into PlotInput::maxima) is drawn: its rank's plotting
    // position i / (n + 1) against its value.
    QPointF pointOf(std::size_t index) const;
    double left() const { return x0_; }
    double right() const { return x1_; }
    double bottom() const { return y0_; }
    double top() const { return y1_; }

private:
    QRectF area_;
    double x0_ = -2, x1_ = 8, y0_ = 0, y1_ = 1;
    std::vector<double> variates_; // per maximum, in input order
    std::vector<double> values_;
};

// Draws the plot on any painter, for a size in logical pixels; lines are snapped to the device's
// pixels at the given ratio.
void drawProbabilityPlot(QPainter& painter, const PlotInput& input, QSize size,
                         qreal devicePixelRatio = 1);

// Writes the plot as SVG when the name ends in .svg, else as PNG.
bool writePlot(const PlotInput& input, const QString& path, QSize size = QSize(900, 600),
               qreal devicePixelRatio = 1);

// The maximum drawn nearest a point in the same logical pixels, within radius; empty when none.
std::optional<std::size_t> maximumAt(const PlotInput& input, QSizeF size, QPointF point,
                                     qreal radius = 8);

} // namespace kestavian
