#pragma once

#include <QKeyEvent>
#include <QScrollBar>

namespace kestavian {

// A horizontal scroll bar whose arrow keys go the way a scroll bar's keys go on the desktop the
// program came from: Left and Down lower the value, Right and Up raise it. Qt's bar inverts its
// controls so that Down scrolls a vertical bar down, which turns Left and Up the wrong way on a
// horizontal one; the wheel and the mouse keep Qt's own handling.
class ScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            triggerAction(SliderSingleStepSub);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            triggerAction(SliderSingleStepAdd);
            break;
        default:
            QScrollBar::keyPressEvent(event);
            return;
        }
        event->accept();
    }
};

} // namespace kestavian
