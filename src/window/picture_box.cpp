#include "window/picture_box.h"

#include <QPainter>

namespace kestavian {

PictureBox::PictureBox(const QSize& size, QWidget* parent)
    : QWidget(parent), surface_(size.width(), size.height()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.Image());
}

} // namespace kestavian
