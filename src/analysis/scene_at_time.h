#pragma once

#include <cstdint>
#include <string>

#include "data/mod_udts.h"

namespace kestavian {

// The whole second a scene's time scale starts at: time-on less half a second, rounded with a
// half going to the even neighbour, so at most one second before the first truck enters. Held
// in 64 bits, so every time-on of a two-digit simulation year fits, and so does the 2.16e10 s of
// an effect without trucks.
double sceneStartTime(double timeOn);

// Seconds after the start time that the scene shows: the scrubber's hundredths, or the effect's
// own moment when the critical-position flag is on.
double elapsedTime(std::int16_t scrubberValue, bool critPos, double effectTime, double startTime);

// The moment the scene shows: start time plus elapsed time.
double currentTime(double startTime, double elapsed);

// Where a truck is drawn at start time + elapsed. x is the scene abscissa of the left end of its
// body (the front of a truck in direction 1, the rear otherwise); travel is +1 for Direction 1
// and -1 for any other Direction; front is the front's position in metres along the span.
struct TruckPlacement {
    double x = 0;
    std::int16_t travel = 1;
    double front = 0;
};
TruckPlacement placeTruck(const ViewSettings& view, const TruckData& truck, double startTime,
                          double elapsed);

// The label texts over the picture: "Cur time:  100.5", "Position:  10", "Position: -2.5".
std::string timeCaption(double currentTime);
std::string positionCaption(double front);

} // namespace kestavian
