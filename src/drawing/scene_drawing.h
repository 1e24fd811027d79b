#pragma once

#include <cstdint>
#include <string>

#include "analysis/event_display.h"
#include "data/mod_udts.h"
#include "drawing/picture_surface.h"

namespace kestavian {

// The two captions shown over the picture: the moment drawn and where the first truck on the span
// has got to. The window puts them on its labels; a caller without a window may keep or drop them.
class SceneLabels {
public:
    virtual ~SceneLabels() = default;
    virtual void setTimeCaption(const std::string& caption) = 0;
    virtual void setDistanceCaption(const std::string& caption) = 0;
};

// Where a scene goes and what it leaves behind: the picture, the labels over it, and the copy of
// the first truck on the span that the timing keeps.
struct Scene {
    PictureSurface& picture;
    SceneLabels& labels;
    TruckData& firstTruckOn;
};

// Clears the picture and draws the span and the effect's caption: the start of every scene.
// For an effect without trucks it also empties both labels, which no truck will set.
void drawEffectBackground(const ViewSettings& view, const Scene& scene, const EffectData& effect);

// Redraws the whole scene of the effect at one moment: the scrubber's hundredths after the
// scene's start time, or the effect's own time when critPos is on. Refreshes firstTruckOn, sets
// the time caption for every truck and the distance caption for each truck stamped at the same
// moment as firstTruckOn. A failure stops the drawing where it happens; what was drawn and set
// stays.
void DrawSceneAtTime(const ViewSettings& view, const Scene& scene, const EffectData& effect,
                     bool critPos, std::int16_t scrubberValue);

// Shows an effect after it was picked: the span and caption, the diagnostics lines handed to
// appendLine, the scrubber fitted to the effect's duration, then the scene at the scrubber's
// value. A failure stops it where it happens, with what was drawn, listed and set left in
// place; an effect without trucks stops after its span and caption, having nothing to time.
void ShowEvent(const ViewSettings& view, const Scene& scene, const EffectData& effect, bool critPos,
               Scrubber& scrubber, const LineSink& appendLine);

} // namespace kestavian
