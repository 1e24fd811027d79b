#include "analysis/event_display.h"

#include <algorithm>

#include "analysis/event_timing.h"
#include "platform/checked_arithmetic.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"

namespace kestavian {

namespace {
std::string twoDecimals(double value) {
    return localGeneralForm(roundToDecimals(value, 2));
}

// R(duration + margin): the duration rounded past a whole second, halves to the even neighbour.
std::int16_t roundedPast(double duration, double margin) {
    return toInt16(checkedFinite(duration + margin));
}

std::int16_t scrollStep(std::int16_t step) {
    // A scroll bar's steps are at least 1; only an effect that ends before it begins gets here.
    if (step < 1)
        raiseError(ErrorNumber::InvalidPropertyValue, "A scroll step must be at least 1");
    return step;
}
} // namespace

EffectTimings writeTimingLines(const ViewSettings& view, const EffectData& effect,
                               TruckData& firstTruckOn, const LineSink& appendLine) {
    EffectTimings timings;
    timings.timeOn = FindTimeOn(view, effect, firstTruckOn);
    timings.timeOff = FindTimeOff(view, effect);
    timings.duration = checkedFinite(timings.timeOff - timings.timeOn);

    appendLine("Time On: " + twoDecimals(timings.timeOn));
    appendLine("Time Off: " + twoDecimals(timings.timeOff));
    appendLine("Duration: " + twoDecimals(timings.duration));
    for (long i = 1; i <= effect.NoTrucks; ++i) {
        const double p = TruckPositionAt(view, timings.timeOn, effect.Trucks.at(i));
        appendLine("Truck " + std::to_string(i) + " position: " + twoDecimals(p));
    }
    return timings;
}

void fitScrubber(double duration, Scrubber& scrubber) {
    scrubber.setMinimum(0);
    scrubber.setMaximum(mul16(100, roundedPast(duration, 1.1)));
    const std::int16_t smallChange = scrollStep(roundedPast(duration, 0.6));
    scrubber.setLargeChange(mul16(2, smallChange));
    scrubber.setSmallChange(smallChange);
    scrubber.setValue(0);
}

void ScrubberModel::setMinimum(std::int16_t value) {
    minimum_ = value;
    maximum_ = std::max(maximum_, value);
    setValue(value_);
}

void ScrubberModel::applyMaximum(std::int16_t value) {
    maximum_ = value;
    setValue(value_);
}

void ScrubberModel::setValue(std::int16_t value) {
    value_ = std::clamp(value, minimum_, maximum_);
}

} // namespace kestavian
