// Redrawing a scene and playing an effect back.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

#include "bench/bench_dialogs.h"
#include "drawing/image_surface.h"
#include "drawing/scene_drawing.h"
#include "window/frm_main.h"
#include "window/picture_box.h"

namespace {

using namespace kestavian;

// Twenty five-axle trucks a few metres apart, both directions, all on a 30 m span at once.
EffectData twentyTrucks() {
    EffectData effect;
    for (int i = 0; i < 20; ++i) {
        TruckData truck;
        truck.Data(Speed) = 250;
        truck.Data(Length) = 165;
        truck.Data(NoAxles) = 5;
        truck.Data(GrossWeight) = 412;
        truck.Data(Direction) = static_cast<std::int16_t>(1 + i % 2);
        for (int k = 1; k <= 4; ++k)
            truck.Data(AxleSpacing(k)) = 36;
        truck.TimeSec = 1000.0 + 0.1 * i;
        AddTruck(truck, effect);
    }
    effect.Time = 1001;
    effect.Value = 1523.7;
    return effect;
}

class NoLabels : public SceneLabels {
public:
    void setTimeCaption(const std::string& text) override { benchmark::DoNotOptimize(text); }
    void setDistanceCaption(const std::string& text) override { benchmark::DoNotOptimize(text); }
};

// Drawing the scene and rendering the image a repaint shows, at device pixel ratio 1 and 2.
void BM_DrawSceneAtTime20Trucks(benchmark::State& state) {
    const EffectData effect = twentyTrucks();
    const double ratio = static_cast<double>(state.range(0));
    ImageSurface surface(641, 167);
    ViewSettings view;
    view.Span = 30.0f;
    TruckData first;
    NoLabels labels;
    std::int16_t value = 0;
    for (auto _ : state) {
        DrawSceneAtTime(view, Scene{surface, labels, first}, effect, false, value);
        benchmark::DoNotOptimize(surface.imageAt(ratio).constBits());
        value = static_cast<std::int16_t>((value + 7) % 400);
    }
}
BENCHMARK(BM_DrawSceneAtTime20Trucks)
    ->ArgName("ratio")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond);

// One effect of the sample from the scrubber's start to where playback stops, tick by tick,
// each tick redrawing the scene in the window and rendering it as the window's repaint would.
void BM_PlaybackSweep(benchmark::State& state) {
    frmMain window(std::make_unique<bench::OneFileDialogs>(std::string(KESTAVIAN_EXAMPLES) +
                                                           "/Events_30_sample.txt"));
    const FormControls& ui = window.controls();
    ui.cmdOpen->click();
    long ticks = 0;
    for (auto _ : state) {
        ui.scrTrucks->setValue(0);
        for (int previous = -1; previous != ui.scrTrucks->value(); ++ticks) {
            previous = ui.scrTrucks->value();
            QMetaObject::invokeMethod(ui.Timer1, "timeout");
            benchmark::DoNotOptimize(
                ui.GA->surface().imageAt(ui.GA->devicePixelRatioF()).constBits());
        }
    }
    state.counters["ticks/sweep"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlaybackSweep)->Unit(benchmark::kMillisecond);

// The headless tool writing every effect of the sample as a picture, as a user runs it.
void BM_RenderAllSample(benchmark::State& state) {
    QTemporaryDir out;
    for (auto _ : state) {
        QProcess cli;
        cli.start(KESTAVIAN_CLI, {"render", QString(KESTAVIAN_EXAMPLES) + "/Events_30_sample.txt",
                                  "--all", out.path()});
        if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit) {
            state.SkipWithError("the tool did not finish");
            break;
        }
    }
    state.counters["pictures"] =
        static_cast<double>(QDir(out.path()).entryList(QDir::Files).size());
}
BENCHMARK(BM_RenderAllSample)->Unit(benchmark::kMillisecond);

} // namespace
