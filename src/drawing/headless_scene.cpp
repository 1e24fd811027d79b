#include "drawing/headless_scene.h"

#include "drawing/bridge_drawing.h"

namespace kestavian {

HeadlessSteps::HeadlessSteps(const ViewSettings& view, PictureSurface& picture)
    : view_(view), picture_(picture) {
    DrawBridge(ViewSettings{}, picture_);
}

void HeadlessSteps::show(const EffectData& effect, bool critPos, const LineSink& appendLine) {
    ShowEvent(view_, scene(), effect, critPos, scrubber_, appendLine);
}

void HeadlessSteps::moveScrubber(const EffectData& effect, bool critPos, std::int16_t value) {
    const std::int16_t before = scrubber_.value();
    scrubber_.setValue(value);
    if (scrubber_.value() != before)
        DrawSceneAtTime(view_, scene(), effect, critPos, scrubber_.value());
}

} // namespace kestavian
