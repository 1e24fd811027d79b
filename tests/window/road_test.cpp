#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>

#include "window/picture_box.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Road = WindowTest;

// A user's whole road: open the sample, look at another event, play it back, flip, change the
// datum type, save the picture.
TEST_F(Road, OpenPickPlayFlipChangeDatumAndSave) {
    std::filesystem::copy_file(std::string(KESTAVIAN_EXAMPLES) + "/Events_30_sample.txt",
                               path("Events_30_sample.txt"));
    open(path("Events_30_sample.txt"));
    ASSERT_TRUE(window->FileLoaded);
    EXPECT_FLOAT_EQ(window->view.Span, 30.0f);
    ASSERT_GE(window->store.NoEvents, 10);
    EXPECT_EQ(window->cmbEvent->count(), window->store.NoEvents);
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
    EXPECT_TRUE(dialogs->inputBoxCalls.empty());

    // Find an event whose second effect has trucks and show it.
    int position = -1;
    for (long i = 1; i <= window->store.NoEvents && position < 0; ++i) {
        const EventData& event = window->store.Events.at(i);
        if (event.EffectCount >= 2 && event.Effects.at(2).NoTrucks >= 2 && i > 1)
            position = static_cast<int>(i - 1);
    }
    ASSERT_GE(position, 0) << "the sample needs an effect 2 with two or more trucks";
    window->cmbEvent->setCurrentIndex(position);
    emit window->cmbEvent->activated(position);
    window->cmbEffect->setCurrentIndex(1);
    emit window->cmbEffect->activated(1);
    const auto blocks = [&] {
        long n = 0;
        for (const std::string& line : linesOf(window->txtOutText()))
            n += line.rfind("Time On: ", 0) == 0;
        return n;
    };
    EXPECT_EQ(blocks(), 3);
    const EffectData& effect = window->store.Events.at(position + 1).Effects.at(2);
    const std::string last = linesOf(window->txtOutText()).back();
    EXPECT_EQ(last.rfind("Truck " + std::to_string(effect.NoTrucks) + " position: ", 0), 0u)
        << last;
    const QString startTime = window->lblTime->text();
    const QImage start = window->GA->surface().Image().copy();

    // Play to the end: forward only, stopping one step short of the maximum at most.
    int ticks = 0;
    for (int previous = -1; previous != window->scrTrucks->value() && ticks < 1000; ++ticks) {
        previous = window->scrTrucks->value();
        window->Timer1_Timer();
    }
    const int step = window->scrTrucks->singleStep();
    EXPECT_GE(window->scrTrucks->value(), window->scrTrucks->maximum() - step);
    EXPECT_GT(ticks, 90);
    EXPECT_LT(ticks, 210);
    EXPECT_NE(window->lblTime->text(), startTime);
    EXPECT_NE(window->GA->surface().Image(), start);

    window->chkFlip->click();
    EXPECT_TRUE(window->FlipDatum);
    window->optDatum[1]->click();
    EXPECT_EQ(blocks(), 4);
    EXPECT_EQ(window->scrTrucks->value(), 0);

    window->cmdSave->click();
    const std::string name = "Span_30_Ev_" + std::to_string(position + 1) + "_Ef_2.bmp";
    const QImage saved(QString::fromStdString(path(name)), "BMP");
    ASSERT_FALSE(saved.isNull()) << name;
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), window->GA->surface().Image());
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
}

} // namespace
} // namespace kestavian::test
