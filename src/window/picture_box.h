#pragma once

#include <QWidget>

#include "drawing/image_surface.h"

namespace kestavian {

// The picture control GA: shows the retained picture of its surface, at the screen's device pixel
// ratio. Everything drawn on the surface stays in it, so a repaint never needs the drawing code.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QSize& size, QWidget* parent);

    ImageSurface& surface() { return surface_; }
    const ImageSurface& surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageSurface surface_;
};

} // namespace kestavian
