#pragma once

#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

namespace kestavian {

// The window's controls where they must behave as the same controls do on the desktop the
// program came from, rather than as Qt's do.

// A horizontal scroll bar whose arrow keys go the way they point: Left and Down lower the value,
// Right and Up raise it. Qt's bar inverts its controls so that Down scrolls a vertical bar down,
// which turns Left and Up the wrong way on a horizontal one; the wheel and the mouse keep Qt's
// own handling.
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

// A command button that Return and Enter click when it has the focus, as Space does; Qt's
// buttons take Return only in dialogs.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace kestavian
