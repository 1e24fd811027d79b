#include "cli/headless_view.h"

#include <algorithm>

#include "analysis/event_display.h"
#include "drawing/bridge_drawing.h"
#include "drawing/picture_size.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {
// The two captions sit on labels over the window's picture, not in it: nothing to keep here.
class NoLabels : public SceneLabels {
public:
    void setTimeCaption(const std::string&) override {}
    void setDistanceCaption(const std::string&) override {}
};
} // namespace

HeadlessView::HeadlessView(const SceneContext& context)
    : context_(context), surface_(PictureWidthPixels, PictureHeightPixels) {
    // The window starts with the empty default span drawn; starting the same way leaves the
    // surface's pen, fill and font settings as the window has them.
    DrawBridge(ViewSettings{}.Span, surface_, DrawSettings{});
}

void HeadlessView::ShowEvent(const EffectData& effect, bool critPos,
                             const std::function<void(const std::string&)>& appendLine) {
    NoLabels labels;
    DrawEffectBackground(surface_, context_, effect, labels);
    const EffectTimings timings =
        WriteTimingLines(effect, context_.Span, context_.DatumRHS, firstTruckOn_, appendLine);
    scrubberMax_ = ScrubberMax(timings.duration);
    // Only for its refusals: the steps themselves play no part here.
    ScrubberLargeChange(timings.duration);
    scrubberValue_ = 0;
    DrawSceneAtTime(surface_, context_, effect, critPos, scrubberValue_, firstTruckOn_, labels);
}

void HeadlessView::moveScrubber(const EffectData& effect, bool critPos, std::int16_t value) {
    // A Max below 0 pulls the scroll bar's Min down with it.
    const std::int16_t low = std::min<std::int16_t>(0, scrubberMax_);
    const std::int16_t held = std::max(low, std::min(value, scrubberMax_));
    if (held == scrubberValue_)
        return;
    scrubberValue_ = held;
    NoLabels labels;
    DrawSceneAtTime(surface_, context_, effect, critPos, scrubberValue_, firstTruckOn_, labels);
}

} // namespace kestavian::cli
