#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "window/picture_box.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

class Playback : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFile("Events_30_three.txt", threeEventFile()));
    }
    QImage picture() const { return window->GA->surface().Image().copy(); }
    int ticksUntilStill() {
        int moved = 0;
        for (int i = 0; i < 1000; ++i) {
            const int before = window->scrTrucks->value();
            window->Timer1_Timer();
            if (window->scrTrucks->value() == before)
                break;
            ++moved;
        }
        return moved;
    }
};

TEST_F(Playback, SpeedBarSetsTheTickInterval) {
    for (const auto& [value, interval] : {std::pair{1, 10}, {100, 1000}, {25, 250}}) {
        window->scrSpeed->setValue(value);
        EXPECT_EQ(window->Timer1->interval(), interval);
    }
}

TEST_F(Playback, TicksStepForwardAndStopBeforeTheEnd) {
    struct Case {
        int max, step, ticks, last;
    };
    for (const Case c : {Case{300, 2, 149, 298}, Case{400, 3, 133, 399}, Case{400, 4, 99, 396}}) {
        SCOPED_TRACE(c.max);
        window->scrTrucks->setValue(0);
        window->scrTrucks->setMaximum(c.max);
        window->scrTrucks->setSingleStep(c.step);
        EXPECT_EQ(ticksUntilStill(), c.ticks);
        EXPECT_EQ(window->scrTrucks->value(), c.last);
    }
}

TEST_F(Playback, EachStepRedrawsTheSceneAtTheScrubbersTime) {
    // Event 17, effect 1: time-on 0.8 s, so the scene starts at second 0.
    EXPECT_EQ(window->lblTime->text(), "Cur time:  0");
    QImage before = picture();
    window->Timer1_Timer();
    EXPECT_EQ(window->scrTrucks->value(), window->scrTrucks->singleStep());
    EXPECT_EQ(window->lblTime->text(),
              QString("Cur time:  %1").arg(window->scrTrucks->singleStep() / 100.0));
    EXPECT_NE(picture(), before);
}

TEST_F(Playback, WithAnimateOffTicksWaitButTheUserCanStillScrub) {
    window->chkAnimate->click();
    ASSERT_FALSE(window->Animate);
    for (int i = 0; i < 20; ++i)
        window->Timer1_Timer();
    EXPECT_EQ(window->scrTrucks->value(), 0);
    window->scrTrucks->setValue(50);
    EXPECT_EQ(window->lblTime->text(), "Cur time:  0.5");
}

TEST_F(Playback, APairThatCannotBeDrawnFallsBackToTheFirstEffect) {
    // Effect 3 has no trucks; an item beyond the event's effects is no better.
    for (const char* item : {"3", "9"}) {
        SCOPED_TRACE(item);
        if (window->cmbEffect->findText(item) < 0)
            window->cmbEffect->addItem(item);
        window->cmbEvent->setCurrentIndex(2);
        window->cmbEffect->setCurrentIndex(window->cmbEffect->findText(item));
        window->scrTrucks->setValue(window->scrTrucks->value() == 20 ? 30 : 20);
        const double t = window->scrTrucks->value() / 100.0;
        EXPECT_EQ(window->lblTime->text(), QString("Cur time:  %1").arg(t)) << "event 17, effect 1";
    }
}

TEST(PlaybackBeforeOpen, RedrawsDeclineQuietlyAndKeepThePicture) {
    frmMain window(std::make_unique<ScriptedDialogs>());
    const QImage start = window.GA->surface().Image().copy();
    window.scrTrucks->setValue(40);
    window.chkFlip->click();
    window.optDriveSide[0]->click();
    window.optDatum[1]->click();
    EXPECT_TRUE(window.FlipDatum);
    EXPECT_FALSE(window.view.DriveRight);
    EXPECT_FALSE(window.view.DatumRHS);
    EXPECT_EQ(window.GA->surface().Image(), start);
    EXPECT_EQ(window.lblTime->text(), "");
    EXPECT_EQ(window.txtOutText(), "");
}

using ViewOptions = Playback;

TEST_F(ViewOptions, AnimateAndCriticalPositionExcludeEachOther) {
    window->scrTrucks->setValue(10);
    const QImage atScrubber = picture();

    window->chkAnimate->click(); // off: the option becomes available, nothing is redrawn
    EXPECT_TRUE(window->chkCritPos->isEnabled());
    EXPECT_FALSE(window->chkCritPos->isChecked());
    EXPECT_EQ(picture(), atScrubber);

    window->chkCritPos->click(); // the effect's own time, 1.5 s
    EXPECT_TRUE(window->CritPos);
    EXPECT_EQ(window->lblTime->text(), "Cur time:  1.5");

    window->chkAnimate->click(); // back on: the option is cleared and greyed, scene at 0.1 s
    EXPECT_TRUE(window->Animate);
    EXPECT_FALSE(window->CritPos);
    EXPECT_FALSE(window->chkCritPos->isChecked());
    EXPECT_FALSE(window->chkCritPos->isEnabled());
    EXPECT_EQ(window->lblTime->text(), "Cur time:  0.1");
    EXPECT_EQ(picture(), atScrubber);
}

TEST_F(ViewOptions, FlipAndDriveSideRedrawWithoutTouchingTheDiagnostics) {
    const QImage plain = picture();
    const std::string lines = window->txtOutText();
    window->chkFlip->click();
    const QImage flipped = picture();
    EXPECT_NE(flipped, plain);
    window->chkFlip->click();
    EXPECT_EQ(picture(), plain);

    window->optDriveSide[0]->click();
    EXPECT_FALSE(window->view.DriveRight);
    EXPECT_NE(picture(), plain);
    window->optDriveSide[1]->click();
    EXPECT_EQ(picture(), plain);
    EXPECT_EQ(window->txtOutText(), lines);
}

TEST_F(ViewOptions, DatumTypeAppendsABlockTimedUnderTheNewType) {
    const std::string first = window->txtOutText();
    window->optDatum[1]->click();
    EXPECT_FALSE(window->view.DatumRHS);
    const auto lines = linesOf(window->txtOutText());
    EXPECT_EQ(window->txtOutText().substr(0, first.size()), first);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], "Time On: 1"); // under "Mixed" the second truck enters at 2 s
    window->optDatum[0]->click();
    EXPECT_EQ(linesOf(window->txtOutText()).size(), 15u);
    EXPECT_EQ(linesOf(window->txtOutText())[10], "Time On: 0.8");
}

TEST_F(ViewOptions, NumberOfEffectsFollowsTheTextAndWaitsForTheNextOpen) {
    struct Case {
        const char* text;
        std::int16_t noEffects;
    };
    for (const Case c : {Case{"", 3}, Case{"5", 5}, Case{"a", 5}, Case{"2.5", 2}, Case{"3.5", 4},
                         Case{"40000", 4}, Case{"-2", -2}}) {
        SCOPED_TRACE(c.text);
        window->txtNoEffects->setText(c.text);
        EXPECT_EQ(window->view.NoEffects, c.noEffects);
    }
    EXPECT_EQ(window->cmbEffect->count(), 3);
}

} // namespace
} // namespace kestavian::test
