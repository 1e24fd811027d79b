#include "analysis/event_timing.h"

#include "platform/checked_arithmetic.h"

namespace kestavian {

namespace {
// The running minimum of FindTimeOn starts here: one thousand years of 250 days on the time
// scale of the truck stamps, later than any stamp a file can hold.
constexpr double NoTimeOn = 2.16e10;

// A direction-2 truck stamped at the entry end ("RHS") is on the span before its stamp and off it
// after its length only; every other truck enters at its stamp and crosses the whole span.
bool stampedAtFarEnd(const TruckData& truck, bool datumRHS) {
    return truck.Data(Direction) == 2 && datumRHS;
}

double entryTime(const TruckData& truck, float span, bool datumRHS) {
    if (!stampedAtFarEnd(truck, datumRHS))
        return truck.TimeSec;
    const double v = truck.Data(Speed) / 10.0;
    return checkedFinite(truck.TimeSec - checkedDivide(span, v));
}

double exitTime(const TruckData& truck, float span, bool datumRHS) {
    const double length = truck.Data(Length);
    const double travelled =
        stampedAtFarEnd(truck, datumRHS) ? length : checkedFinite(10.0 * span + length);
    return checkedFinite(truck.TimeSec + checkedDivide(travelled, truck.Data(Speed)));
}
} // namespace

double FindTimeOn(const ViewSettings& view, const EffectData& effect, TruckData& firstTruckOn) {
    double timeOn = NoTimeOn;
    for (long i = 1; i <= effect.NoTrucks; ++i) {
        const TruckData& truck = effect.Trucks.at(i);
        const double entry = entryTime(truck, view.Span, view.DatumRHS);
        if (entry < timeOn) {
            timeOn = entry;
            firstTruckOn = truck;
        }
    }
    return timeOn;
}

double FindTimeOff(const ViewSettings& view, const EffectData& effect) {
    double timeOff = exitTime(effect.Trucks.at(1), view.Span, view.DatumRHS);
    for (long i = 2; i <= effect.NoTrucks; ++i) {
        const double exit = exitTime(effect.Trucks.at(i), view.Span, view.DatumRHS);
        if (exit > timeOff)
            timeOff = exit;
    }
    return timeOff;
}

double TruckPositionAt(const ViewSettings& view, double time, const TruckData& truck) {
    const float v = static_cast<float>(truck.Data(Speed) / 10.0);
    double p = checkedFinite(static_cast<double>(v) * checkedFinite(truck.TimeSec - time));
    if (truck.Data(Direction) == 2 && !view.DatumRHS)
        p = checkedFinite(view.Span + p);
    return p;
}

} // namespace kestavian
