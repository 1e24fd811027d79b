#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <malloc.h>

#include "window/window_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define KESTAVIAN_SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTAVIAN_SOAK_UNDER_ASAN 1
#endif
#endif

namespace kestavian::test {
namespace {

constexpr int Ticks = 100'000;
#ifdef KESTAVIAN_SOAK_UNDER_ASAN
// The address sanitizer holds freed memory back in its quarantine, so the resident size grows
// for hundreds of megabytes without a leak: there the run checks everything but memory.
constexpr bool CheckMemory = false;
#else
constexpr bool CheckMemory = true;
#endif
constexpr int WarmUpTicks = Ticks / 10;
// A playback sweep takes 100 to 200 ticks; the user drags the scrubber back more often than that
// and changes something now and then. Most changes append a block to the diagnostics box, which
// grows by design, so they are spaced out enough for its growth to stay far below the memory
// check's tolerance.
constexpr int TicksPerRewind = 100;
constexpr int TicksPerAction = 500;

// The resident set size of this process in kilobytes, after the allocator has handed back what
// it holds free, so that the figure follows the memory in use.
long residentKilobytes() {
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

using Soak = WindowTest;

// Long playback over the sample while the user goes through every event, effect and view option:
// nothing escapes a handler, and memory settles after the first ticks.
TEST_F(Soak, LongPlaybackThroughEveryOptionKeepsMemoryFlat) {
    const auto started = std::chrono::steady_clock::now();
    const std::string sample = path("Events_30_sample.txt");
    std::filesystem::copy_file(std::string(KESTAVIAN_EXAMPLES) + "/Events_30_sample.txt", sample);
    open(sample);
    const std::int16_t events = window->store.NoEvents;
    ASSERT_GT(events, 10);

    int step = 0;
    auto pick = [](QComboBox* list, int index) {
        list->setCurrentIndex(index % list->count());
        emit list->activated(list->currentIndex());
    };
    auto click = [](QAbstractButton* button) { button->click(); };
    // What the user does, in turn; each action also calls a handler directly, as a redraw does.
    const std::vector<std::function<void()>> actions{
        [&] { pick(window->cmbEvent, 7 * step); },
        [&] { pick(window->cmbEffect, step); },
        [&] { click(window->chkFlip); },
        [&] { click(window->optDriveSide[step % 2]); },
        [&] { click(window->optDatum[step % 2]); },
        [&] { click(window->chkAnimate); }, // off: the critical-position box becomes usable
        [&] { click(window->chkCritPos); },
        [&] { click(window->chkCritPos); },
        [&] { click(window->chkAnimate); }, // on again
        [&] { window->scrSpeed->setValue(1 + step % 100); },
        [&] {
            // A count that does not fit this file, an Open with it, then the right one again.
            window->txtNoEffects->setText(step % 2 == 0 ? "4" : "x");
            open(sample);
            window->txtNoEffects->setText("3");
            open(sample);
        },
    };

    long residentAfterWarmUp = 0;
    int moves = 0;
    int escaped = 0;
    for (int tick = 1; tick <= Ticks; ++tick) {
        const int before = window->scrTrucks->value();
        try {
            window->Timer1_Timer();
        } catch (...) {
            ++escaped;
        }
        moves += window->scrTrucks->value() != before ? 1 : 0;
        if (tick % TicksPerRewind == 0)
            window->scrTrucks->setValue(0);
        if (tick % TicksPerAction == 0) {
            actions[static_cast<std::size_t>(step) % actions.size()]();
            EXPECT_NO_THROW(window->scrTrucks_Change());
            EXPECT_NO_THROW(window->chkCritPos_Click());
            EXPECT_NO_THROW(window->optDriveSide_Click(window->view.DriveRight ? 1 : 0));
            ++step;
        }
        if (tick == WarmUpTicks)
            residentAfterWarmUp = residentKilobytes();
    }
    const long residentAtEnd = residentKilobytes();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    RecordProperty("rss_kb_after_warm_up", std::to_string(residentAfterWarmUp));
    RecordProperty("rss_kb_at_end", std::to_string(residentAtEnd));
    RecordProperty("seconds", std::to_string(seconds));
    std::cout << "soak: " << Ticks << " ticks, " << moves << " redrawing, RSS "
              << residentAfterWarmUp << " kB after " << WarmUpTicks << " ticks, " << residentAtEnd
              << " kB at the end, " << seconds << " s\n";

    EXPECT_EQ(escaped, 0);
    // The ticks really played the scenes back, not only waited at the end of the range.
    EXPECT_GT(moves, Ticks / 4);
    EXPECT_TRUE(window->FileLoaded);
    EXPECT_EQ(window->store.NoEvents, events);
    if (CheckMemory) {
        ASSERT_GT(residentAfterWarmUp, 0);
        EXPECT_LT(std::abs(residentAtEnd - residentAfterWarmUp), residentAfterWarmUp / 20);
    }
}

} // namespace
} // namespace kestavian::test
