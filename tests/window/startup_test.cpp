#include <QApplication>
#include <QKeyEvent>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Startup = WindowTest;

TEST_F(Startup, SettingsAndControlsAreAsAtLoad) {
    const FormControls& w = ui();
    EXPECT_EQ(window->windowTitle(), "Event Visualization");
    EXPECT_EQ(window->size(), QSize(675, 620));
    EXPECT_EQ(state().view.Span, 20.0f);
    EXPECT_EQ(state().view.HeightRatio, 0.15f);
    EXPECT_EQ(state().view.NoEffects, 3);

    std::string bits;
    for (const bool on :
         {state().view.DriveRight, state().view.DatumRHS, state().FileLoaded, state().Animate,
          state().CritPos, state().view.FlipDatum, w.chkAnimate->isChecked(),
          w.chkCritPos->isChecked(), w.chkCritPos->isEnabled(), w.chkFlip->isChecked(),
          w.chkFlip->isEnabled(), w.optDatum[0]->isChecked(), w.optDatum[1]->isChecked(),
          w.optDriveSide[0]->isChecked(), w.optDriveSide[1]->isChecked(), w.Timer1->isActive()})
        bits += on ? '1' : '0';
    EXPECT_EQ(bits, "1101001000110011"); // one bit a setting, in the order listed
    EXPECT_EQ((std::vector<QString>{w.lblTime->text(), w.lblDistance->text(),
                                    w.txtOut->toPlainText(), w.txtNoEffects->text()}),
              (std::vector<QString>{"", "", "", "3"}));
    // Speed bar, tick interval, scrubber, then the two lists.
    EXPECT_EQ(
        (std::vector<int>{w.scrSpeed->minimum(), w.scrSpeed->maximum(), w.scrSpeed->value(),
                          w.Timer1->interval(), w.scrTrucks->minimum(), w.scrTrucks->maximum(),
                          w.scrTrucks->pageStep(), w.scrTrucks->singleStep(), w.scrTrucks->value(),
                          w.cmbEvent->count(), w.cmbEvent->currentIndex(), w.cmbEffect->count()}),
        (std::vector<int>{1, 100, 25, 250, 0, 1000, 50, 1, 0, 0, -1, 0}));
    // The file's box takes typing; the diagnostics box is the program's.
    for (QPlainTextEdit* box : {w.Editor, w.txtOut}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(box, &key);
    }
    EXPECT_EQ(w.Editor->toPlainText() + "|" + w.txtOut->toPlainText(), "x|");
}

// Places worked out by hand from the twips (15 to a pixel); resizing moves nothing. The focus
// starts in the Editor and follows the Tab column.
TEST_F(Startup, ControlsKeepTheirPlacesAndTheTabOrder) {
    window->show();
    window->resize(1000, 900);
    QApplication::processEvents();
    EXPECT_EQ(ui().GA->geometry(), QRect(16, 16, 641, 167));
    EXPECT_EQ(ui().optDatum[1]->geometry(), QRect(64, 16, 49, 25));
    EXPECT_EQ(ui().optDatum[1]->parentWidget(), static_cast<QWidget*>(ui().Frame3));
    EXPECT_EQ(ui().txtOut->geometry(), QRect(472, 376, 185, 233));
    EXPECT_EQ(ui().lblTime->parentWidget(), static_cast<QWidget*>(ui().GA));

    std::vector<QWidget*> order;
    for (QWidget* widget = ui().Editor; order.size() < 7; widget = widget->nextInFocusChain())
        if (widget->focusPolicy() & Qt::TabFocus && widget->isEnabled() &&
            !widget->objectName().isEmpty() && window->isAncestorOf(widget))
            order.push_back(widget);
    EXPECT_EQ(order,
              (std::vector<QWidget*>{ui().Editor, ui().cmdOpen, ui().cmdSave, ui().optDriveSide[1],
                                     ui().optDriveSide[0], ui().cmbEffect, ui().cmbEvent}));
    window->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(ui().Editor));
}

// Before a file is opened: the empty span, and nothing a tick or an option does redraws it.
TEST_F(Startup, PictureShowsTheEmptySpanAndKeepsItUntilAFileIsOpened) {
    const QImage before = picture();
    EXPECT_EQ(before.pixelColor(320, 90), ImageSurface::toQColor(SystemButtonFace)); // the deck
    EXPECT_EQ(before.pixelColor(320, 5), QColor(Qt::white));
    for (int i = 0; i < 50; ++i)
        tick();
    EXPECT_EQ(ui().scrTrucks->value(), 0);
    ui().scrTrucks->setValue(40);
    ui().chkFlip->click();
    ui().optDriveSide[0]->click();
    ui().optDatum[1]->click();
    EXPECT_TRUE(state().view.FlipDatum);
    EXPECT_FALSE(state().view.DriveRight);
    EXPECT_FALSE(state().view.DatumRHS);
    EXPECT_EQ(ui().GA->surface().Image(), before);
    EXPECT_EQ(ui().lblTime->text(), "");
    EXPECT_EQ(state().txtOutText, "");
}

} // namespace
} // namespace kestavian::test
