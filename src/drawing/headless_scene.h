#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "drawing/image_surface.h"
#include "drawing/scene_drawing.h"

namespace kestavian {

// A scene without a window, as the command-line tool and the fuzzer draw it: a picture of the
// window's size that starts as the window's does, the captions kept as text, and the scrubber as
// plain values. Its pixels are the window's for the same steps and settings.
class HeadlessScene : public SceneLabels {
public:
    explicit HeadlessScene(const ViewSettings& view);

    // A change of the view options, as the window's option controls make; nothing is redrawn.
    void setView(const ViewSettings& view) { view_ = view; }

    // ShowEvent: what picking the effect in the window does.
    void show(const EffectData& effect, bool critPos, const LineSink& appendLine);
    // A move of the scrubber after show, held within the range show set, redrawing the scene when
    // the value changes, as the scroll bar does.
    void moveScrubber(const EffectData& effect, bool critPos, std::int16_t value);

    const QImage& image() const { return picture_.Image(); }
    const std::string& timeCaption() const { return timeCaption_; }
    const std::string& distanceCaption() const { return distanceCaption_; }
    std::int16_t scrubberValue() const { return scrubber_.value(); }

    void setTimeCaption(const std::string& caption) override { timeCaption_ = caption; }
    void setDistanceCaption(const std::string& caption) override { distanceCaption_ = caption; }

private:
    Scene scene() { return {picture_, *this, firstTruckOn_}; }

    ViewSettings view_;
    ImageSurface picture_;
    TruckData firstTruckOn_;
    ScrubberModel scrubber_;
    std::string timeCaption_, distanceCaption_;
};

} // namespace kestavian
