// A long playback through every option of the window, checking that memory stays flat and that
// no handler lets an error escape. Not a unit test: it runs for a while, so `make soak` runs it
// once after the test suites. Leaks themselves are caught by the sanitizer suite.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_dialogs.h"
#include "window/frm_main.h"

namespace {

using namespace kestavian;

// After the allocator has handed back what it holds free, so the figure follows the memory in use.
long residentKilobytes() {
    ::malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 100'000;
    // A sweep takes 100 to 200 ticks. Most actions append a block to the diagnostics box, which
    // grows by design, so they are spaced out to keep that growth far below the tolerance.
    constexpr int TicksPerRewind = 100, TicksPerAction = 500;

    frmMain window(
        std::make_unique<bench::OneFileDialogs>(KESTAVIAN_EXAMPLES "/Events_30_sample.txt"));
    const FormControls& ui = window.controls();
    const auto pick = [](QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    };
    ui.cmdOpen->click();
    const int events = window.state().store.NoEvents;
    int step = 0;
    const std::vector<std::function<void()>> actions{
        [&] { pick(ui.cmbEvent, 7 * step % ui.cmbEvent->count()); },
        [&] { pick(ui.cmbEffect, step % ui.cmbEffect->count()); },
        [&] { ui.chkFlip->click(); },
        [&] { ui.optDriveSide[step % 2]->click(); },
        [&] { ui.optDatum[step % 2]->click(); },
        [&] { ui.chkAnimate->click(); }, // off: the critical-position box becomes usable
        [&] { ui.chkCritPos->click(); },
        [&] { ui.chkCritPos->click(); },
        [&] { ui.chkAnimate->click(); },
        [&] { ui.scrSpeed->setValue(1 + step % 100); },
        [&] { // a count that does not fit this file, then the right one again
            ui.txtNoEffects->setText(step % 2 == 0 ? "4" : "x");
            ui.cmdOpen->click();
            ui.txtNoEffects->setText("3");
            ui.cmdOpen->click();
        },
    };

    long residentAfterWarmUp = 0;
    int moves = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        const int before = ui.scrTrucks->value();
        QMetaObject::invokeMethod(ui.Timer1, "timeout");
        moves += ui.scrTrucks->value() != before;
        if (tick % TicksPerRewind == 0)
            ui.scrTrucks->setValue(0);
        if (tick % TicksPerAction == 0)
            actions[static_cast<std::size_t>(step++) % actions.size()]();
        if (tick == ticks / 10)
            residentAfterWarmUp = residentKilobytes();
    }
    const long residentAtEnd = residentKilobytes();
    std::printf("soak: %d ticks, %d moved the scrubber; resident %ld kB after warm-up, %ld kB at "
                "the end\n",
                ticks, moves, residentAfterWarmUp, residentAtEnd);

    bool ok = events > 10 && window.state().store.NoEvents == events && window.state().FileLoaded;
    ok = ok && moves > ticks / 4; // the ticks played scenes back, not only waited at the end
    // The address sanitizer's quarantine of freed memory grows the resident size without a leak.
#if !defined(__SANITIZE_ADDRESS__)
    ok = ok && residentAfterWarmUp > 0 &&
         std::labs(residentAtEnd - residentAfterWarmUp) < residentAfterWarmUp / 20;
#endif
    std::puts(ok ? "soak: passed" : "soak: FAILED");
    return ok ? 0 : 1;
}
