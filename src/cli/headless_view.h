#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>

#include "data/mod_udts.h"
#include "drawing/image_surface.h"
#include "drawing/scene_drawing.h"

namespace kestavian::cli {

// The viewer's picture and the state a shown effect leaves behind it (the scrubber's range and
// value, the first truck on), without the window. It makes the window's drawing calls in the
// window's order on a surface of the window's size, so its pixels are the window's.
class HeadlessView {
public:
    explicit HeadlessView(const SceneContext& context);

    // What the window does to show an effect: span and caption, the diagnostics lines (handed to
    // appendLine without line ends), the scrubber fitted to the duration and set to 0, then the
    // scene at that value. A RuntimeError stops it where the window stops; what was drawn stays.
    void ShowEvent(const EffectData& effect, bool critPos,
                   const std::function<void(const std::string&)>& appendLine);

    // A move of the scrubber after ShowEvent. Like a scroll bar, it holds the value within the
    // range ShowEvent set and redraws only when the value changes.
    void moveScrubber(const EffectData& effect, bool critPos, std::int16_t value);

    const QImage& image() const { return surface_.Image(); }

private:
    SceneContext context_;
    ImageSurface surface_;
    TruckData firstTruckOn_;
    std::int16_t scrubberMax_ = 1000;
    std::int16_t scrubberValue_ = 0;
};

} // namespace kestavian::cli
