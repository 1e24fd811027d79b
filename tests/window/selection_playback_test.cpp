#include <QApplication>
#include <QKeyEvent>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

// Event 17, effect 1 is shown after the Open: time-on 0.8 s, so the scene starts at second 0.
class Selection : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFile("Events_30_three.txt", ThreeEventFile));
    }
    std::string lastTimeOn() const {
        const auto listed = lines();
        return *std::find_if(listed.rbegin(), listed.rend(),
                             [](const std::string& l) { return l.starts_with("Time On: "); });
    }
    void save(const std::string& name) {
        ui().cmdSave->click();
        EXPECT_EQ(rgb32(QImage(QString::fromStdString(path(name)), "BMP")), picture()) << name;
    }
};

// A pick in one list shows the pair with the other list's pick, by list position; each pick
// appends a block (an effect without trucks none: kestavian-cli timings shows that).
TEST_F(Selection, EventsArePickedByListPositionAndKeepTheOtherPick) {
    EXPECT_EQ(lastTimeOn(), "Time On: 0.8");
    pick(ui().cmbEffect, 1); // effect 2 of event 17
    EXPECT_EQ(lastTimeOn(), "Time On: 1.8");
    pick(ui().cmbEvent, 2); // event 25, still effect 2
    EXPECT_EQ(lastTimeOn(), "Time On: 21.8");
    pick(ui().cmbEvent, 1); // event 18
    pick(ui().cmbEvent, 1); // the same pick again shows the block again
    EXPECT_EQ(lines().size(), 5u * 5);
    EXPECT_EQ(lastTimeOn(), "Time On: 11.8");
}

// The picture goes to Span_<span>_Ev_<list position>_Ef_<effect text>.bmp in the program folder,
// the span with the system's decimal separator; a later save replaces an earlier one.
TEST_F(Selection, SaveWritesThePictureUnderANameFromSpanAndPicks) {
    restart();
    save("Span_20_Ev_0_Ef_.bmp"); // before any Open
    open(writeFile("Events_45_three.txt", ThreeEventFile));
    pick(ui().cmbEvent, 2);
    pick(ui().cmbEffect, 1);
    save("Span_45_Ev_3_Ef_2.bmp");
    open(writeFile("Events_32.5_three.txt", ThreeEventFile));
    save("Span_32.5_Ev_1_Ef_1.bmp");
    ui().chkFlip->click();
    save("Span_32.5_Ev_1_Ef_1.bmp"); // the later picture replaces the earlier one
    const LocaleForTest comma(QLocale::German);
    save("Span_32,5_Ev_1_Ef_1.bmp");
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    // A folder that cannot be written: a message naming the file.
    const std::string blocker = writeFile("not_a_folder", "x");
    window->setPictureFolder(QString::fromStdString(blocker));
    ui().cmdSave->click();
    EXPECT_EQ(dialogs->messageBoxCalls.at(0).text.find("The picture could not be saved to " +
                                                       blocker + "/Span_32,5_Ev_1_Ef_1.bmp: "),
              0u);
}

TEST_F(Selection, TicksComeAtTheSpeedStepForwardRedrawAndStopBeforeTheEnd) {
    for (const auto& [value, interval] : {std::pair{1, 10}, {100, 1000}, {25, 250}}) {
        ui().scrSpeed->setValue(value);
        EXPECT_EQ(ui().Timer1->interval(), interval);
    }
    const QImage before = picture();
    for (const auto [max, step, ticks, last] : {std::array{300, 2, 149, 298}, {400, 3, 133, 399}}) {
        ui().scrTrucks->setValue(0);
        ui().scrTrucks->setMaximum(max);
        ui().scrTrucks->setSingleStep(step);
        int done = 0;
        for (int previous = -1; previous != ui().scrTrucks->value() && done < 1000; ++done) {
            previous = ui().scrTrucks->value();
            tick();
        }
        EXPECT_EQ(done - 1, ticks) << max; // the last tick found nothing left to do
        EXPECT_EQ(ui().scrTrucks->value(), last);
    }
    EXPECT_NE(picture(), before);
}

// Effect 3 has no trucks: it is drawn, span and caption, with both labels empty, and a tick keeps
// it. An item beyond the event's effects cannot be drawn: event 17, effect 1 is drawn instead.
TEST_F(Selection, APairThatCannotBeDrawnFallsBackToTheFirstEffect) {
    ui().cmbEffect->addItem("9");
    pick(ui().cmbEvent, 2);
    pick(ui().cmbEffect, 2);
    const QImage noTrucks = picture();
    EXPECT_EQ(ui().lblTime->text() + ui().lblDistance->text(), "");
    tick();
    EXPECT_EQ(picture(), noTrucks);
    save("Span_30_Ev_3_Ef_3.bmp");
    ui().cmbEffect->setCurrentIndex(3);
    ui().scrTrucks->setValue(40);
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0.4");
}

// Left and Down lower the scrubber, Right and Up raise it, each move redrawing.
TEST_F(Selection, KeysAndWheelMoveTheScrubberTheWayTheyPoint) {
    QScrollBar* bar = ui().scrTrucks;
    const int step = bar->singleStep();
    for (const auto& [key, move] : {
             std::pair{Qt::Key_Left, -step},
             {Qt::Key_Down, -step},
             {Qt::Key_Right, step},
             {Qt::Key_Up, step},
         }) {
        bar->setValue(100);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        EXPECT_EQ(ui().lblTime->text(), QString("Cur time:  %1").arg((100 + move) / 100.0));
    }
}

// With Animate off ticks wait, the user can still scrub, and the critical position is offered.
TEST_F(Selection, AnimateAndCriticalPositionExcludeEachOther) {
    ui().chkAnimate->click();
    EXPECT_TRUE(ui().chkCritPos->isEnabled() && !ui().chkCritPos->isChecked());
    for (int i = 0; i < 20; ++i)
        tick();
    EXPECT_EQ(ui().scrTrucks->value(), 0);
    ui().scrTrucks->setValue(50);
    const QImage atScrubber = picture();
    ui().chkCritPos->click(); // the effect's own time
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  1.5");
    ui().chkAnimate->click(); // on again: the option is cleared and greyed, back at the scrubber
    EXPECT_FALSE(state().CritPos || ui().chkCritPos->isChecked() || ui().chkCritPos->isEnabled());
    EXPECT_EQ(ui().lblTime->text(), "Cur time:  0.5");
    EXPECT_EQ(picture(), atScrubber);
}

// Flip and drive side only redraw; the datum type also appends a block timed under the new type.
TEST_F(Selection, ViewOptionsRedrawAndTheDatumTypeAppendsABlock) {
    const QImage plain = picture();
    const std::string first = state().txtOutText;
    for (QAbstractButton* option : {static_cast<QAbstractButton*>(ui().chkFlip),
                                    static_cast<QAbstractButton*>(ui().optDriveSide[0])}) {
        option->click();
        EXPECT_NE(picture(), plain);
        (option == ui().chkFlip ? option : ui().optDriveSide[1])->click();
        EXPECT_EQ(picture(), plain);
    }
    EXPECT_EQ(state().txtOutText, first);
    ui().optDatum[1]->click();
    ASSERT_EQ(lines().size(), 10u);
    EXPECT_EQ(lines()[5], "Time On: 1"); // under "Mixed" the second truck enters at 2 s
    ui().optDatum[0]->click();
    EXPECT_EQ(lines().at(10), "Time On: 0.8");
}

} // namespace
} // namespace kestavian::test
