#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/mod_udts.h"

namespace kestavian {

// The timings of one effect as the diagnostics lines list them.
struct EffectTimings {
    double timeOn = 0;
    double timeOff = 0;
    double duration = 0;
};

// Computes time-on and time-off (a failure there comes before any line), then hands appendLine,
// in order, "Time On: X", "Time Off: X", "Duration: X" and one "Truck i position: X" per truck,
// the truck's position value at time-on. X is rounded to 2 decimals and in the general form with
// the system's decimal separator; the lines carry no line end. A failure part-way leaves the lines
// already handed over.
EffectTimings WriteTimingLines(const EffectData& effect, float span, bool datumRHS,
                               TruckData& firstTruckOn,
                               const std::function<void(const std::string&)>& appendLine);

// The time scrubber counts hundredths of a second. Its range covers the duration rounded up past
// a whole second; a step is about a two-hundredth of it. All three are 16-bit: a duration of some
// 326.4 s or more gives a Max beyond 32767, an overflow error.
std::int16_t ScrubberMax(double duration);
std::int16_t ScrubberLargeChange(double duration);
// Both steps refuse a value below 1 with an invalid-property-value error, as the scroll bar does.
std::int16_t ScrubberSmallChange(double duration);

} // namespace kestavian
