#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "data/event_parser.h"

namespace kestavian {

// Nothing in a line says what it is, so a file read with the wrong number of effect blocks per
// event goes out of step and stops, often far from any fault. The probe reads the items again
// with every other count from 1 to 16, side by side: when one of them reads on past the line where
// the parse stopped, a wrong count is the likely cause of the stop.
class EffectCountProbe {
public:
    EffectCountProbe(std::int16_t noEffects, long stopItem);

    // Takes the next item; false once there is nothing more to learn (every other count has
    // stopped as well, or one has read well past the stop).
    bool push(std::string_view item);

    // The other count that read on past the stop without stopping, once push() returned false
    // or the items ran out; nothing when none did. Of several, the one whose effects most often
    // carry the number of their place in the event, as a simulation writes them; then the
    // smallest.
    std::optional<std::int16_t> readsOn() const;

    EffectCountProbe(const EffectCountProbe&) = delete;
    EffectCountProbe& operator=(const EffectCountProbe&) = delete;

private:
    struct Candidate {
        std::int16_t noEffects;
        EventParser parser;
        bool stopped = false;
        long misnumbered = 0; // effects whose number is not their place in the event
    };

    long stopItem_;
    long items_ = 0;
    std::vector<Candidate> candidates_;
};

} // namespace kestavian
