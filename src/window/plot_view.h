#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "drawing/probability_plot.h"
#include "stats/effect_statistics.h"

namespace kestavian {

// The probability plot in a window: drawn for the view's size and the screen's resolution, each
// point standing for a block maximum whose event a click opens, the shown event's point ringed.
class PlotView : public QWidget {
    Q_OBJECT
public:
    PlotView();

    // The plot of the statistics' load events (all of them).
    void setStatistics(const stats::EffectStatistics& statistics,
                       const stats::StatisticsChoice& choice, const QString& file, int effectNo);
    // Rings the point of the event at this list position (from 1), if it is a block maximum.
    void markPosition(long position);

    const PlotInput& input() const { return input_; }
    // Where the maximum of the event at a list position is drawn; nothing when it is none.
    std::optional<QPointF> pointOfPosition(long position) const;
    // The plot as shown, and written as PNG or SVG by the name's ending: the reason it could not
    // be, or nothing.
    QImage image() const;
    QString writeTo(const QString& path) const;

signals:
    // A block maximum's point was clicked: its event's list position.
    void maximumClicked(long position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PlotInput input_;
    std::vector<std::uint64_t> positions_; // per maximum, as in input_.maxima
    long marked_ = 0;
};

} // namespace kestavian
