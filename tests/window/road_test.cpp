#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Road = WindowTest;

// A user's whole road: open the sample, look at another event, play it back, flip, change the
// datum type, save the picture.
TEST_F(Road, OpenPickPlayFlipChangeDatumAndSave) {
    open(Sample);
    ASSERT_TRUE(window->FileLoaded);
    EXPECT_FLOAT_EQ(window->view.Span, 30.0f);
    ASSERT_GE(window->store.NoEvents, 10);
    EXPECT_EQ(window->cmbEvent->count(), window->store.NoEvents);

    // A later event whose second effect has two trucks or more.
    int position = 1;
    while (position < window->store.NoEvents &&
           (window->store.Events.at(position + 1).EffectCount < 2 ||
            window->store.Events.at(position + 1).Effects.at(2).NoTrucks < 2))
        ++position;
    ASSERT_LT(position, window->store.NoEvents) << "the sample needs such an effect 2";
    pick(window->cmbEvent, position);
    pick(window->cmbEffect, 1);
    EXPECT_EQ(timeOnLines(), 3);
    const int trucks = window->store.Events.at(position + 1).Effects.at(2).NoTrucks;
    EXPECT_EQ(linesOf(window->txtOutText())
                  .back()
                  .rfind("Truck " + std::to_string(trucks) + " position: ", 0),
              0u);
    const QString startTime = window->lblTime->text();
    const QImage start = picture();

    // Play to the end: forward only, stopping one step short of the maximum at most.
    int ticks = 0;
    for (int previous = -1; previous != window->scrTrucks->value() && ticks < 1000; ++ticks) {
        previous = window->scrTrucks->value();
        window->Timer1_Timer();
    }
    EXPECT_GE(window->scrTrucks->value(),
              window->scrTrucks->maximum() - window->scrTrucks->singleStep());
    EXPECT_GT(ticks, 90);
    EXPECT_LT(ticks, 210);
    EXPECT_NE(window->lblTime->text(), startTime);
    EXPECT_NE(picture(), start);

    window->chkFlip->click();
    EXPECT_TRUE(window->FlipDatum);
    window->optDatum[1]->click();
    EXPECT_EQ(timeOnLines(), 4);
    EXPECT_EQ(window->scrTrucks->value(), 0);

    window->cmdSave->click();
    const std::string name = "Span_30_Ev_" + std::to_string(position + 1) + "_Ef_2.bmp";
    EXPECT_EQ(rgb32(QImage(QString::fromStdString(path(name)), "BMP")),
              rgb32(window->GA->surface().Image()));
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    EXPECT_TRUE(dialogs->inputBoxCalls.empty());
}

} // namespace
} // namespace kestavian::test
