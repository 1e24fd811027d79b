#pragma once

#include <cstdint>
#include <string>

#include "data/mod_udts.h"
#include "drawing/draw_settings.h"
#include "platform/picture_surface.h"

namespace kestavian {

// The two captions shown over the picture: the moment drawn and where the first truck on the span
// has got to. The window puts them on its labels; a headless caller may keep or drop them.
class SceneLabels {
public:
    virtual ~SceneLabels() = default;
    virtual void setTimeCaption(const std::string& caption) = 0;
    virtual void setDistanceCaption(const std::string& caption) = 0;
};

// What a scene is drawn with besides the effect: the span, the datum type and the view settings.
struct SceneContext {
    float Span = 20.0f;
    bool DatumRHS = true;
    DrawSettings draw;
};

// Clears the picture and draws the span and the effect's caption: the start of every scene.
// For an effect without trucks it also empties both labels.
void DrawEffectBackground(PictureSurface& picture, const SceneContext& context,
                          const EffectData& effect, SceneLabels& labels);

// Redraws the whole scene of the effect at one moment: the scrubber's hundredths after the
// scene's start time, or the effect's own time when critPos is on. Refreshes firstTruckOn, sets
// the time caption for every truck and the distance caption for each truck stamped at the same
// moment as firstTruckOn. A failure stops the drawing where it happens; what was drawn and set
// stays.
void DrawSceneAtTime(PictureSurface& picture, const SceneContext& context, const EffectData& effect,
                     bool critPos, std::int16_t scrubberValue, TruckData& firstTruckOn,
                     SceneLabels& labels);

} // namespace kestavian
