#include "analysis/scene_at_time.h"

#include "analysis/event_timing.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"

namespace kestavian {

double sceneStartTime(double timeOn) {
    return static_cast<double>(toInt64(checkedFinite(timeOn - 0.5)));
}

double elapsedTime(std::int16_t scrubberValue, bool critPos, double effectTime, double startTime) {
    double elapsed = scrubberValue / 100.0;
    if (critPos)
        elapsed = checkedFinite(effectTime - startTime);
    return elapsed;
}

double currentTime(double startTime, double elapsed) {
    return checkedFinite(startTime + elapsed);
}

TruckPlacement placeTruck(const ViewSettings& view, const TruckData& truck, double startTime,
                          double elapsed) {
    const double p0 = TruckPositionAt(view, startTime, truck);
    const double moved = checkedFinite(truck.Data(Speed) * elapsed) / 10.0;
    TruckPlacement placement;
    if (truck.Data(Direction) == 1) {
        placement.travel = 1;
        placement.x = checkedFinite(p0 - moved);
        placement.front = -placement.x;
    } else {
        // The body's left end is the rear here, a truck length behind the front.
        const double length = truck.Data(Length) / 10.0;
        placement.travel = -1;
        placement.x = checkedFinite(checkedFinite(moved - p0) - length);
        placement.front = -checkedFinite(placement.x + length);
    }
    return placement;
}

std::string timeCaption(double currentTime) {
    return "Cur time: " + strForm(roundToDecimals(currentTime, 2));
}

std::string positionCaption(double front) {
    return "Position: " + strForm(roundToDecimals(front, 3));
}

} // namespace kestavian
