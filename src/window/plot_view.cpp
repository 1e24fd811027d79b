#include "window/plot_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "drawing/statistics_plot.h"

namespace kestavian {

PlotView::PlotView() {
    setObjectName("plot");
    setMinimumSize(480, 300);
    setCursor(Qt::PointingHandCursor);
}

void PlotView::setStatistics(const stats::EffectStatistics& statistics,
                             const stats::StatisticsChoice& choice, const QString& file,
                             int effectNo) {
    const stats::GroupStatistics& all = statistics.groups.front();
    input_ = plotInputOf(all, choice, file, effectNo);
    positions_.clear();
    if (all.sample)
        for (const stats::BlockMaximum& maximum : all.sample->maxima)
            positions_.push_back(maximum.position);
    update();
}

void PlotView::markPosition(long position) {
    marked_ = position;
    update();
}

std::optional<QPointF> PlotView::pointOfPosition(long position) const {
    for (std::size_t i = 0; i < positions_.size(); ++i)
        if (positions_[i] == static_cast<std::uint64_t>(position))
            return PlotMapping(input_, size()).pointOf(i);
    return std::nullopt;
}

void PlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    drawProbabilityPlot(painter, input_, size(), devicePixelRatioF());
    if (const std::optional<QPointF> point = pointOfPosition(marked_)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2)); // no brush: the plot restores it
        painter.drawEllipse(*point, 7, 7);
    }
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (const std::optional<std::size_t> index = maximumAt(input_, size(), event->position()))
        emit maximumClicked(static_cast<long>(positions_.at(*index)));
}

QImage PlotView::image() const {
    QImage image(size() * devicePixelRatioF(), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatioF());
    image.fill(Qt::white);
    QPainter painter(&image);
    drawProbabilityPlot(painter, input_, size(), devicePixelRatioF());
    return image;
}

QString PlotView::writeTo(const QString& path) const {
    return writePlot(input_, path, size()) ? QString() : QString("it could not be written");
}

} // namespace kestavian
