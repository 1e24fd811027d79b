#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "data/mod_udts.h"

namespace kestavian {

// Receives the diagnostics lines one at a time, without line ends.
using LineSink = std::function<void(const std::string&)>;

// The timings of one effect as the diagnostics lines list them.
struct EffectTimings {
    double timeOn = 0;
    double timeOff = 0;
    double duration = 0;
};

// Computes time-on and time-off (a failure there comes before any line), then hands appendLine,
// in order, "Time On: X", "Time Off: X", "Duration: X" and one "Truck i position: X" per truck,
// the truck's position value at time-on. X is rounded to 2 decimals and in the general form with
// the system's decimal separator. A failure part-way leaves the lines already handed over.
EffectTimings writeTimingLines(const ViewSettings& view, const EffectData& effect,
                               TruckData& firstTruckOn, const LineSink& appendLine);

// The time scrubber, a scroll bar whose value counts hundredths of a second from the scene's
// start. The window's scroll bar is one; ScrubberModel is one without a window.
class Scrubber {
public:
    virtual ~Scrubber() = default;
    virtual void setMinimum(std::int16_t value) = 0;
    // A Max below Min is held at Min: the scrubber's range cannot run backwards, and Min, where
    // every fit starts, stays where it was set (an effect that ends before it begins gets an
    // empty range rather than one that starts before its scene).
    void setMaximum(std::int16_t value) { applyMaximum(std::max(value, minimum())); }
    virtual void setLargeChange(std::int16_t value) = 0;
    virtual void setSmallChange(std::int16_t value) = 0;
    virtual void setValue(std::int16_t value) = 0;
    virtual std::int16_t value() const = 0;
    virtual std::int16_t minimum() const = 0;

protected:
    virtual void applyMaximum(std::int16_t value) = 0;
};

// Fits the scrubber to an effect's duration, setting in this order Min 0, Max (the duration
// rounded up past a whole second, in hundredths), LargeChange, SmallChange (about a two-hundredth
// of the range) and Value 0. A value that cannot be formed stops the fit there with what was set
// before in force: an overflow for a Max beyond 32767 (durations of some 326.4 s and more), an
// invalid-property-value error for a step below 1 (an effect that ends before it begins).
void fitScrubber(double duration, Scrubber& scrubber);

// A scrubber as plain values, with a scroll bar's rules: the value stays within Min..Max, and a
// Min above Max moves Max along.
class ScrubberModel : public Scrubber {
public:
    void setMinimum(std::int16_t value) override;
    void setLargeChange(std::int16_t value) override { largeChange_ = value; }
    void setSmallChange(std::int16_t value) override { smallChange_ = value; }
    // The value held within Min..Max.
    void setValue(std::int16_t value) override;
    std::int16_t value() const override { return value_; }
    std::int16_t minimum() const override { return minimum_; }
    std::int16_t maximum() const { return maximum_; }
    std::int16_t largeChange() const { return largeChange_; }
    std::int16_t smallChange() const { return smallChange_; }

protected:
    void applyMaximum(std::int16_t value) override;

private:
    std::int16_t minimum_ = 0, maximum_ = 1000, largeChange_ = 50, smallChange_ = 1, value_ = 0;
};

} // namespace kestavian
