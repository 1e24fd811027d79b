#include "drawing/headless_scene.h"

#include "drawing/bridge_drawing.h"
#include "drawing/picture_size.h"

namespace kestavian {

HeadlessScene::HeadlessScene(const ViewSettings& view)
    : view_(view), picture_(PictureWidthPixels, PictureHeightPixels) {
    // The window starts with the empty default span drawn, which leaves the surface's pen, fill
    // and font settings as every later scene finds them.
    DrawBridge(ViewSettings{}, picture_);
}

void HeadlessScene::show(const EffectData& effect, bool critPos, const LineSink& appendLine) {
    ShowEvent(view_, scene(), effect, critPos, scrubber_, appendLine);
}

void HeadlessScene::moveScrubber(const EffectData& effect, bool critPos, std::int16_t value) {
    const std::int16_t before = scrubber_.value();
    scrubber_.setValue(value);
    if (scrubber_.value() != before)
        DrawSceneAtTime(view_, scene(), effect, critPos, scrubber_.value());
}

} // namespace kestavian
