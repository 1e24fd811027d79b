#include "drawing/scene_drawing.h"

#include "analysis/event_timing.h"
#include "analysis/scene_at_time.h"
#include "drawing/bridge_drawing.h"
#include "drawing/effect_caption.h"
#include "drawing/truck_drawing.h"

namespace kestavian {

void DrawEffectBackground(PictureSurface& picture, const SceneContext& context,
                          const EffectData& effect, SceneLabels& labels) {
    picture.Cls();
    DrawBridge(context.Span, picture, context.draw);
    DrawEffectCaption(picture, context.Span, effect, context.draw);
    // No truck will set the labels: left alone they would describe the effect shown before.
    if (effect.NoTrucks < 1) {
        labels.setTimeCaption("");
        labels.setDistanceCaption("");
    }
}

void DrawSceneAtTime(PictureSurface& picture, const SceneContext& context, const EffectData& effect,
                     bool critPos, std::int16_t scrubberValue, TruckData& firstTruckOn,
                     SceneLabels& labels) {
    DrawEffectBackground(picture, context, effect, labels);
    const double timeOn = FindTimeOn(effect, context.Span, context.DatumRHS, firstTruckOn);
    const double startTime = SceneStartTime(timeOn);
    const double elapsed = ElapsedTime(scrubberValue, critPos, effect.Time, startTime);

    for (long i = 1; i <= effect.NoTrucks; ++i) {
        const TruckData truck = effect.Trucks.at(i);
        const TruckPlacement placement =
            PlaceTruck(truck, startTime, elapsed, context.Span, context.DatumRHS);
        labels.setTimeCaption(TimeCaption(CurrentTime(startTime, elapsed)));
        // Trucks are matched by stamp, so every truck sharing the first one's moment is labelled
        // and the last of them stays.
        if (truck.TimeSec == firstTruckOn.TimeSec)
            labels.setDistanceCaption(PositionCaption(placement.front));
        DrawTruck(picture, context.Span, placement.x, placement.travel, truck, context.draw);
    }
}

} // namespace kestavian
