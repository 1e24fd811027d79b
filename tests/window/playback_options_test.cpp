#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

// Event 17, effect 1 is shown after the Open: time-on 0.8 s, so the scene starts at second 0.
class Playback : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFile("Events_30_three.txt", threeEventFile()));
    }
};

TEST_F(Playback, TicksComeAtTheSpeedStepForwardRedrawAndStopBeforeTheEnd) {
    for (const auto& [value, interval] : {std::pair{1, 10}, {100, 1000}, {25, 250}}) {
        ui().scrSpeed->setValue(value);
        EXPECT_EQ(ui().Timer1->interval(), interval);
    }
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0");
    const QImage before = picture();
    struct Case {
        int max, step, ticks, last;
    };
    for (const Case c : {Case{300, 2, 149, 298}, Case{400, 3, 133, 399}}) {
        SCOPED_TRACE(c.max);
        ui().scrTrucks->setValue(0);
        ui().scrTrucks->setMaximum(c.max);
        ui().scrTrucks->setSingleStep(c.step);
        int ticks = 0;
        for (int previous = -1; previous != ui().scrTrucks->value() && ticks < 1000; ++ticks) {
            previous = ui().scrTrucks->value();
            tick();
            if (ticks == 0) {
                EXPECT_EQ(ui().lblTime->text(), QString("Cur time:  %1").arg(c.step / 100.0));
                EXPECT_NE(picture(), before);
            }
        }
        EXPECT_EQ(ticks - 1, c.ticks); // the last tick found nothing left to do
        EXPECT_EQ(ui().scrTrucks->value(), c.last);
    }
}

// Effect 3 has no trucks: it is drawn, span and caption, with both labels empty. An item beyond
// the event's effects cannot be drawn: event 17, effect 1 is drawn instead.
TEST_F(Playback, APairThatCannotBeDrawnFallsBackToTheFirstEffect) {
    ui().cmbEffect->addItem("9");
    pick(ui().cmbEvent, 2);
    pick(ui().cmbEffect, 2);
    const QImage noTrucks = picture();
    EXPECT_EQ(ui().lblTime->text() + ui().lblDistance->text(), "");
    tick();
    EXPECT_EQ(picture(), noTrucks);
    EXPECT_EQ(ui().lblTime->text(), "");
    ui().cmdSave->click();
    EXPECT_EQ(rgb32(QImage(QString::fromStdString(path("Span_30_Ev_3_Ef_3.bmp")))), noTrucks);

    ui().cmbEffect->setCurrentIndex(3);
    ui().scrTrucks->setValue(40);
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0.4");
}

// Left and Down lower the scrubber, Right and Up raise it, the page keys and the wheel move it
// by a page and a wheel step; each move redraws.
TEST_F(Playback, KeysAndWheelMoveTheScrubberTheWayTheyPoint) {
    QScrollBar* bar = ui().scrTrucks;
    const int step = bar->singleStep(), page = bar->pageStep();
    const std::pair<int, int> keys[] = {{Qt::Key_Left, -step},   {Qt::Key_Down, -step},
                                        {Qt::Key_Right, step},   {Qt::Key_Up, step},
                                        {Qt::Key_PageUp, -page}, {Qt::Key_PageDown, page}};
    for (const auto& [key, move] : keys) {
        bar->setValue(100);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        EXPECT_EQ(bar->value(), 100 + move) << key;
        EXPECT_EQ(ui().lblTime->text(), QString("Cur time:  %1").arg((100 + move) / 100.0));
    }
    bar->setValue(100);
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &down);
    EXPECT_GT(bar->value(), 100);
}

// With Animate off ticks wait, the user can still scrub, and the critical position is offered.
TEST_F(Playback, AnimateAndCriticalPositionExcludeEachOther) {
    const QImage start = picture();
    ui().chkAnimate->click();
    EXPECT_FALSE(state().Animate);
    EXPECT_TRUE(ui().chkCritPos->isEnabled());
    EXPECT_FALSE(ui().chkCritPos->isChecked());
    EXPECT_EQ(picture(), start);
    for (int i = 0; i < 20; ++i)
        tick();
    EXPECT_EQ(ui().scrTrucks->value(), 0);
    ui().scrTrucks->setValue(50);
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0.5");
    const QImage atScrubber = picture();

    ui().chkCritPos->click(); // the effect's own time
    EXPECT_TRUE(state().CritPos);
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  1.5");

    ui().chkAnimate->click(); // on again: the option is cleared and greyed, back at the scrubber
    EXPECT_TRUE(state().Animate);
    EXPECT_FALSE(state().CritPos);
    EXPECT_FALSE(ui().chkCritPos->isChecked());
    EXPECT_FALSE(ui().chkCritPos->isEnabled());
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0.5");
    EXPECT_EQ(picture(), atScrubber);
}

// Flip and drive side only redraw; the datum type also appends a block timed under the new type.
TEST_F(Playback, ViewOptionsRedrawAndTheDatumTypeAppendsABlock) {
    const QImage plain = picture();
    const std::string first = state().txtOutText;
    ui().chkFlip->click();
    EXPECT_NE(picture(), plain);
    ui().chkFlip->click();
    EXPECT_EQ(picture(), plain);
    ui().optDriveSide[0]->click();
    EXPECT_FALSE(state().view.DriveRight);
    EXPECT_NE(picture(), plain);
    ui().optDriveSide[1]->click();
    EXPECT_EQ(picture(), plain);
    EXPECT_EQ(state().txtOutText, first);

    ui().optDatum[1]->click();
    EXPECT_FALSE(state().view.DatumRHS);
    EXPECT_EQ(state().txtOutText.substr(0, first.size()), first);
    ASSERT_EQ(lines().size(), 10u);
    EXPECT_EQ(lines()[5], "Time On: 1"); // under "Mixed" the second truck enters at 2 s
    ui().optDatum[0]->click();
    ASSERT_EQ(lines().size(), 15u);
    EXPECT_EQ(lines()[10], "Time On: 0.8");
}

TEST_F(Playback, NumberOfEffectsFollowsTheTextAndWaitsForTheNextOpen) {
    for (const auto& [text, noEffects] :
         {std::pair{"", 3}, {"5", 5}, {"a", 5}, {"2.5", 2}, {"3.5", 4}, {"40000", 4}, {"-2", -2}}) {
        ui().txtNoEffects->setText(text);
        EXPECT_EQ(state().view.NoEffects, noEffects) << text;
    }
    EXPECT_EQ(ui().cmbEffect->count(), 3);
}

} // namespace
} // namespace kestavian::test
