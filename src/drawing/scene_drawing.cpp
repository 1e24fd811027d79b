#include "drawing/scene_drawing.h"

#include "analysis/event_timing.h"
#include "analysis/scene_at_time.h"
#include "drawing/bridge_drawing.h"
#include "drawing/effect_caption.h"
#include "drawing/truck_drawing.h"

namespace kestavian {

void drawEffectBackground(const ViewSettings& view, const Scene& scene, const EffectData& effect) {
    scene.picture.Cls();
    DrawBridge(view, scene.picture);
    DrawEffectCaption(view, scene.picture, effect);
    // Left alone, the labels would describe the effect shown before.
    if (effect.NoTrucks < 1) {
        scene.labels.setTimeCaption("");
        scene.labels.setDistanceCaption("");
    }
}

void DrawSceneAtTime(const ViewSettings& view, const Scene& scene, const EffectData& effect,
                     bool critPos, std::int16_t scrubberValue) {
    drawEffectBackground(view, scene, effect);
    const double timeOn = FindTimeOn(view, effect, scene.firstTruckOn);
    const double startTime = sceneStartTime(timeOn);
    const double elapsed = elapsedTime(scrubberValue, critPos, effect.Time, startTime);

    for (long i = 1; i <= effect.NoTrucks; ++i) {
        const TruckData truck = effect.Trucks.at(i);
        const TruckPlacement placement = placeTruck(view, truck, startTime, elapsed);
        scene.labels.setTimeCaption(timeCaption(currentTime(startTime, elapsed)));
        // Trucks are matched by stamp, so every truck sharing the first one's moment is labelled
        // and the last of them stays.
        if (truck.TimeSec == scene.firstTruckOn.TimeSec)
            scene.labels.setDistanceCaption(positionCaption(placement.front));
        DrawTruck(view, scene.picture, placement.x, placement.travel, truck);
    }
}

void ShowEvent(const ViewSettings& view, const Scene& scene, const EffectData& effect, bool critPos,
               Scrubber& scrubber, const LineSink& appendLine) {
    drawEffectBackground(view, scene, effect);
    const EffectTimings timings = writeTimingLines(view, effect, scene.firstTruckOn, appendLine);
    // The scroll bar may redraw the scene as its values change; the scene drawn last is this one.
    fitScrubber(timings.duration, scrubber);
    DrawSceneAtTime(view, scene, effect, critPos, scrubber.value());
}

} // namespace kestavian
