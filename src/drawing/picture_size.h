#pragma once

namespace kestavian {

// The picture in pixels. The window lays its picture out at this size and the headless tool draws
// at it, so that both make the same pixels for the same scene.
inline constexpr int PictureWidthPixels = 641;
inline constexpr int PictureHeightPixels = 167;

} // namespace kestavian
