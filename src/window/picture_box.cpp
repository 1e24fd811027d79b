#include "window/picture_box.h"

#include <QPainter>

namespace kestavian {

PictureBox::PictureBox(const QSize& size, QWidget* parent)
    : QWidget(parent), surface_(size.width(), size.height()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    // At the screen's own resolution, so that lines and text are as fine as the screen shows.
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), surface_.imageAt(devicePixelRatioF()));
}

} // namespace kestavian
