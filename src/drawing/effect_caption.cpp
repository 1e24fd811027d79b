#include "drawing/effect_caption.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/local_numbers.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian {

namespace {
// The text position is held in single precision; a value beyond its range is an overflow.
float toSingle(double value) {
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        raiseError(ErrorNumber::Overflow);
    return static_cast<float>(value);
}
} // namespace

void DrawEffectCaption(const ViewSettings& view, PictureSurface& picture,
                       const EffectData& effect) {
    const float span = view.Span;
    picture.setFontSize(10);
    picture.setFontBold(true);
    // Below the lower road edge and the wing lines, above the bottom of the scene.
    picture.setCurrentY(toSingle(1.5 * view.HeightRatio * span));
    const std::string text = "Value: " + localGeneralForm(effect.Value) +
                             "   Distance: " + localGeneralForm(effect.Distance) +
                             "  Time: " + localGeneralForm(effect.Time) +
                             "  No Trucks: " + std::to_string(effect.NoTrucks);
    picture.setCurrentX(toSingle(-1.45 * span));
    picture.Print(text);
}

} // namespace kestavian
