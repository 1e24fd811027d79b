#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "drawing/image_surface.h"
#include "drawing/picture_size.h"
#include "drawing/scene_drawing.h"

namespace kestavian {

// The window's steps without a window, on a surface of the caller's: ShowEvent and the moves of
// the scrubber, the captions kept as text and the scrubber as plain values. Nothing here needs
// Qt's GUI layer, so a caller that wants only the diagnostics lines and the errors (which never
// depend on pixels or fonts) can run the steps on a NullSurface.
class HeadlessSteps : public SceneLabels {
public:
    // The picture must outlive the steps. The window starts with the empty default span drawn,
    // which leaves the surface's pen, fill and font settings as every later scene finds them: so
    // does this.
    HeadlessSteps(const ViewSettings& view, PictureSurface& picture);
    // A copy would draw on the original's picture.
    HeadlessSteps(const HeadlessSteps&) = delete;
    HeadlessSteps& operator=(const HeadlessSteps&) = delete;

    // A change of the view options, as the window's option controls make; nothing is redrawn.
    void setView(const ViewSettings& view) { view_ = view; }

    // ShowEvent: what picking the effect in the window does.
    void show(const EffectData& effect, bool critPos, const LineSink& appendLine);
    // A move of the scrubber after show, held within the range show set, redrawing the scene when
    // the value changes, as the scroll bar does.
    void moveScrubber(const EffectData& effect, bool critPos, std::int16_t value);

    const std::string& timeCaption() const { return timeCaption_; }
    const std::string& distanceCaption() const { return distanceCaption_; }
    std::int16_t scrubberValue() const { return scrubber_.value(); }

    void setTimeCaption(const std::string& caption) override { timeCaption_ = caption; }
    void setDistanceCaption(const std::string& caption) override { distanceCaption_ = caption; }

private:
    Scene scene() { return {picture_, *this, firstTruckOn_}; }

    ViewSettings view_;
    PictureSurface& picture_;
    TruckData firstTruckOn_;
    ScrubberModel scrubber_;
    std::string timeCaption_, distanceCaption_;
};

namespace detail {
// Held before the steps are built on it (a base class is built before the members).
struct WindowSizedPicture {
    ImageSurface picture{PictureWidthPixels, PictureHeightPixels};
};
} // namespace detail

// A scene without a window, as the command-line tool and the fuzzer draw it: the steps on a
// picture of the window's size. Its pixels are the window's for the same steps and settings.
class HeadlessScene : private detail::WindowSizedPicture, public HeadlessSteps {
public:
    explicit HeadlessScene(const ViewSettings& view) : HeadlessSteps(view, picture) {}

    const QImage& image() const { return picture.Image(); }
    const ImageSurface& surface() const { return picture; }
};

} // namespace kestavian
