#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <cstdlib>
#include <functional>
#include <malloc.h>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

// The address sanitizer's quarantine of freed memory grows the resident size without a leak.
#if defined(__SANITIZE_ADDRESS__)
#define KESTAVIAN_SOAK_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTAVIAN_SOAK_UNDER_ASAN
#endif
#endif
#ifdef KESTAVIAN_SOAK_UNDER_ASAN
constexpr bool CheckMemory = false;
#else
constexpr bool CheckMemory = true;
#endif

// After the allocator has handed back what it holds free, so the figure follows the memory in use.
long residentKilobytes() {
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

using Soak = WindowTest;

// Long playback over the sample while the user goes through every event, effect and option.
TEST_F(Soak, LongPlaybackThroughEveryOptionKeepsMemoryFlat) {
    constexpr int Ticks = 100'000;
    // A sweep takes 100 to 200 ticks. Most actions append a block to the diagnostics box, which
    // grows by design, so they are spaced out to keep that growth far below the tolerance.
    constexpr int TicksPerRewind = 100, TicksPerAction = 500;
    open(Sample);
    const std::int16_t events = window->store.NoEvents;
    ASSERT_GT(events, 10);

    int step = 0;
    const std::vector<std::function<void()>> actions{
        [&] { pick(window->cmbEvent, 7 * step % window->cmbEvent->count()); },
        [&] { pick(window->cmbEffect, step % window->cmbEffect->count()); },
        [&] { window->chkFlip->click(); },
        [&] { window->optDriveSide[step % 2]->click(); },
        [&] { window->optDatum[step % 2]->click(); },
        [&] { window->chkAnimate->click(); }, // off: the critical-position box becomes usable
        [&] { window->chkCritPos->click(); },
        [&] { window->chkCritPos->click(); },
        [&] { window->chkAnimate->click(); },
        [&] { window->scrSpeed->setValue(1 + step % 100); },
        [&] { // a count that does not fit this file, then the right one again
            window->txtNoEffects->setText(step % 2 == 0 ? "4" : "x");
            open(Sample);
            window->txtNoEffects->setText("3");
            open(Sample);
        },
    };

    long residentAfterWarmUp = 0;
    int moves = 0, escaped = 0;
    for (int tick = 1; tick <= Ticks; ++tick) {
        const int before = window->scrTrucks->value();
        try {
            window->Timer1_Timer();
        } catch (...) {
            ++escaped;
        }
        moves += window->scrTrucks->value() != before;
        if (tick % TicksPerRewind == 0)
            window->scrTrucks->setValue(0);
        if (tick % TicksPerAction == 0) {
            actions[static_cast<std::size_t>(step) % actions.size()]();
            // The handlers a redraw calls directly.
            EXPECT_NO_THROW(window->scrTrucks_Change());
            EXPECT_NO_THROW(window->chkCritPos_Click());
            EXPECT_NO_THROW(window->optDriveSide_Click(window->view.DriveRight ? 1 : 0));
            ++step;
        }
        if (tick == Ticks / 10)
            residentAfterWarmUp = residentKilobytes();
    }
    const long residentAtEnd = residentKilobytes();

    EXPECT_EQ(escaped, 0);
    EXPECT_GT(moves, Ticks / 4); // the ticks played scenes back, not only waited at the end
    EXPECT_TRUE(window->FileLoaded);
    EXPECT_EQ(window->store.NoEvents, events);
    if (CheckMemory) {
        ASSERT_GT(residentAfterWarmUp, 0);
        EXPECT_LT(std::abs(residentAtEnd - residentAfterWarmUp), residentAfterWarmUp / 20);
    }
}

} // namespace
} // namespace kestavian::test
