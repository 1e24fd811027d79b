#pragma once

namespace kestavian {

// The settings the scene drawing reads besides the span: the road's half-width as a fraction of
// the span, the drive side, and whether arrows and trucks are mirrored.
struct DrawSettings {
    float HeightRatio = 0.15f;
    bool DriveRight = true;
    bool FlipDatum = false;
};

} // namespace kestavian
