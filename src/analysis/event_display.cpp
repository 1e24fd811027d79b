#include "analysis/event_display.h"

#include "analysis/event_timing.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"

namespace kestavian {

namespace {
std::string twoDecimals(double value) {
    return localGeneralForm(roundToDecimals(value, 2));
}
} // namespace

EffectTimings WriteTimingLines(const EffectData& effect, float span, bool datumRHS,
                               TruckData& firstTruckOn,
                               const std::function<void(const std::string&)>& appendLine) {
    EffectTimings timings;
    timings.timeOn = FindTimeOn(effect, span, datumRHS, firstTruckOn);
    timings.timeOff = FindTimeOff(effect, span, datumRHS);
    timings.duration = checkedFinite(timings.timeOff - timings.timeOn);

    appendLine("Time On: " + twoDecimals(timings.timeOn));
    appendLine("Time Off: " + twoDecimals(timings.timeOff));
    appendLine("Duration: " + twoDecimals(timings.duration));
    for (long i = 1; i <= effect.NoTrucks; ++i) {
        const double p = TruckPositionAt(timings.timeOn, effect.Trucks.at(i), span, datumRHS);
        appendLine("Truck " + std::to_string(i) + " position: " + twoDecimals(p));
    }
    return timings;
}

std::int16_t ScrubberMax(double duration) {
    return mul16(100, toInt16(checkedFinite(duration + 1.1)));
}

std::int16_t ScrubberLargeChange(double duration) {
    return mul16(2, ScrubberSmallChange(duration));
}

std::int16_t ScrubberSmallChange(double duration) {
    const std::int16_t step = toInt16(checkedFinite(duration + 0.6));
    // A scroll bar's steps are at least 1; only an effect that ends before it begins gets here.
    if (step < 1)
        raise(ErrorNumber::InvalidPropertyValue, "A scroll step must be at least 1");
    return step;
}

} // namespace kestavian
