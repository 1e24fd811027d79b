#pragma once

#include "data/mod_udts.h"

namespace kestavian {

// Timeline of one load effect on the span. Positions are metres along the span from the end at
// which direction-1 trucks enter; a truck's TimeSec is the moment its front passes its datum
// point, which is that entry end, except for a direction-2 truck under the "Mixed" datum type
// (DatumRHS false), whose datum point is the far end at position Span. Any Direction other than
// 2 counts as direction 1 here.

// The earliest moment at which a truck of the effect enters the span. firstTruckOn becomes a copy
// of the truck that gave it (the lower-numbered one on a tie). Starts from 2.16e10 s, a thousand
// simulation years, so an effect without trucks returns that and leaves firstTruckOn alone.
// A zero Speed of a direction-2 truck under "RHS" is a division by zero.
double FindTimeOn(const ViewSettings& view, const EffectData& effect, TruckData& firstTruckOn);

// The latest moment at which the rear of a truck of the effect leaves the span. Truck 1 is read
// first, so an effect without trucks is a subscript error; a zero Speed is a division by zero.
double FindTimeOff(const ViewSettings& view, const EffectData& effect);

// The truck's position value at time: Speed / 10 metres less for every second after TimeSec.
// For a direction-2 truck it is its front's position; for a direction-1 truck it is the negated
// position of its front. Never divides, so a zero Speed is no error.
double TruckPositionAt(const ViewSettings& view, double time, const TruckData& truck);

} // namespace kestavian
