#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "window/control_table.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Startup = WindowTest;

TEST_F(Startup, SettingsAndControlsAreAsAtLoad) {
    const frmMain& w = *window;
    EXPECT_EQ(w.windowTitle(), "Event Visualization");
    EXPECT_EQ(w.size(), QSize(675, 620));
    EXPECT_FLOAT_EQ(w.view.Span, 20.0f);
    EXPECT_FLOAT_EQ(w.HeightRatio, 0.15f);
    EXPECT_EQ(w.view.NoEffects, 3);

    std::string bits;
    for (const bool on :
         {w.view.DriveRight, w.view.DatumRHS, w.FileLoaded, w.Animate, w.CritPos, w.FlipDatum,
          w.chkAnimate->isChecked(), w.chkCritPos->isChecked(), w.chkCritPos->isEnabled(),
          w.chkFlip->isChecked(), w.chkFlip->isEnabled(), w.optDatum[0]->isChecked(),
          w.optDatum[1]->isChecked(), w.optDriveSide[0]->isChecked(),
          w.optDriveSide[1]->isChecked(), w.Timer1->isActive()})
        bits += on ? '1' : '0';
    EXPECT_EQ(bits, "1101001000110011"); // one bit a setting, in the order listed
    EXPECT_EQ(
        (std::vector<QString>{w.lblTime->text(), w.lblDistance->text(), w.txtOut->toPlainText(),
                              w.Editor->toPlainText(), w.txtNoEffects->text()}),
        (std::vector<QString>{"", "", "", "", "3"}));
    EXPECT_EQ(w.txtOutText(), "");
    // The file's box takes typing; the diagnostics box is the program's.
    for (QPlainTextEdit* box : {w.Editor, w.txtOut}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(box, &key);
    }
    EXPECT_EQ(w.Editor->toPlainText() + "|" + w.txtOut->toPlainText(), "x|");
    // Speed bar, tick interval, scrubber, then the two lists.
    EXPECT_EQ(
        (std::vector<int>{w.scrSpeed->minimum(), w.scrSpeed->maximum(), w.scrSpeed->value(),
                          w.Timer1->interval(), w.scrTrucks->minimum(), w.scrTrucks->maximum(),
                          w.scrTrucks->pageStep(), w.scrTrucks->singleStep(), w.scrTrucks->value(),
                          w.cmbEvent->count(), w.cmbEvent->currentIndex(), w.cmbEffect->count()}),
        (std::vector<int>{1, 100, 25, 250, 0, 1000, 50, 1, 0, 0, -1, 0}));
}

TEST_F(Startup, EveryControlSitsWhereTheTableSaysAndStaysThereOnResize) {
    window->show();
    for (const QSize size : {QSize(675, 620), QSize(1000, 900), QSize(200, 150)}) {
        window->resize(size);
        QApplication::processEvents();
        for (const ControlRow& row : ControlTable) {
            if (row.tab < 0)
                continue;
            const std::string key = row.index < 0
                                        ? std::string(row.name)
                                        : row.name + ("(" + std::to_string(row.index) + ")");
            QWidget* widget = window->control(key);
            ASSERT_NE(widget, nullptr) << key;
            EXPECT_EQ(widget->geometry(), pixelRect(row)) << key << " at " << size.width();
            EXPECT_EQ(widget->parentWidget(),
                      row.container[0] == '\0' ? window.get() : window->control(row.container))
                << key;
        }
    }
    // Worked out by hand from the twips, in case the table and its conversion agree wrongly.
    EXPECT_EQ(window->GA->geometry(), QRect(16, 16, 641, 167));
    EXPECT_EQ(window->optDatum[1]->geometry(), QRect(64, 16, 49, 25));
    EXPECT_EQ(window->txtOut->geometry(), QRect(472, 376, 185, 233));
    EXPECT_EQ(window->lblTime->parentWidget(), static_cast<QWidget*>(window->GA));
}

TEST_F(Startup, FocusStartsInTheEditorAndFollowsTheTabOrder) {
    std::vector<QWidget*> order;
    QWidget* widget = window->Editor;
    do {
        if (widget->focusPolicy() & Qt::TabFocus && widget->isEnabled() &&
            window->isAncestorOf(widget) && !widget->objectName().isEmpty())
            order.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != window->Editor && order.size() < 6);
    EXPECT_EQ(order, (std::vector<QWidget*>{window->Editor, window->cmdOpen, window->cmdSave,
                                            window->optDriveSide[1], window->optDriveSide[0],
                                            window->cmbEffect}));
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(window->Editor));
}

// Before a file is opened: the empty span, and nothing a tick or an option does redraws it.
TEST_F(Startup, PictureShowsTheEmptySpanAndKeepsItUntilAFileIsOpened) {
    const QImage before = picture();
    EXPECT_EQ(before.pixelColor(320, 90), ImageSurface::toQColor(SystemButtonFace)); // the deck
    EXPECT_EQ(before.pixelColor(320, 5), QColor(Qt::white));

    for (int i = 0; i < 500; ++i)
        window->Timer1_Timer();
    EXPECT_EQ(window->scrTrucks->value(), 0);
    window->scrTrucks->setValue(40);
    window->chkFlip->click();
    window->optDriveSide[0]->click();
    window->optDatum[1]->click();
    EXPECT_TRUE(window->FlipDatum);
    EXPECT_FALSE(window->view.DriveRight);
    EXPECT_FALSE(window->view.DatumRHS);
    EXPECT_EQ(window->GA->surface().Image(), before);
    EXPECT_EQ(window->lblTime->text(), "");
    EXPECT_EQ(window->txtOutText(), "");
}

} // namespace
} // namespace kestavian::test
