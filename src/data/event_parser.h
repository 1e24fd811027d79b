#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "data/item_reader.h"
#include "data/mod_udts.h"
#include "platform/runtime_error.h"

namespace kestavian {

// Where a parse stopped: the item (1-based position among the items), the error number and,
// when a field failed to convert, the field with its columns, its trimmed text and what it must
// hold. A count passing its limit leaves field empty and may say which count in detail.
struct ParseStop {
    long item = 0;
    ErrorNumber number = ErrorNumber::TypeMismatch;
    std::string field;
    int startColumn = 0;
    int width = 0;
    std::string text;
    std::string needs;
    std::string detail;

    bool operator==(const ParseStop&) const = default;
};

// A stretch of the file's bytes: begin up to, not including, end.
struct ByteRange {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;

    bool operator==(const ByteRange&) const = default;
};

// One event as the parser hands it over.
struct ParsedEvent {
    // 1-based, in file order, not limited to the store's 32767.
    std::uint64_t position = 0;
    // Its effects are those the store would hold. Each effect's EventIndex is the position when
    // that fits the 16-bit field and 0 beyond 32767, where no stored event can be.
    EventData event;
    // The event's lines in the file, line ends included: from its header line to the last line
    // taken for it (a line that stopped the parse is not part of it).
    ByteRange bytes;
};

struct ParserOptions {
    // Effect blocks per event.
    std::int16_t noEffects = 3;
    // An event header beyond this many events is an overflow, like the store's 16-bit count.
    std::uint64_t maxEvents = std::numeric_limits<std::uint64_t>::max();
    // What is kept of a truck line, each read and checked alike: the whole truck with the line it
    // was read from (only the store needs that), its fields and time stamp, or only its count
    // (NoTrucks counts it; Trucks stays empty), for readers that look no further.
    enum class Trucks { Whole, Fields, Counted } trucks = Trucks::Whole;
};

// The parse state machine of an event file, fed one item at a time. Nothing in a line says what
// it is: its kind follows from the counts read so far.
//
// An event is handed to onEvent as soon as it can change no more: when its last effect is
// complete, or, still unfinished, when the parse stops or the items run out. The events handed
// over are exactly those the store keeps, with the same effects, in the same order. onEvent may
// move the event out of what it is given.
class EventParser {
public:
    using EventSink = std::function<void(ParsedEvent&)>;

    EventParser(const ParserOptions& options, EventSink onEvent);

    // Takes the next item. A field that does not convert or a count passing its limit stops the
    // parse with its RuntimeError: stop() then says where, the unfinished event has been handed
    // over, and later calls do nothing.
    void push(const Item& item);

    // The items have run out: an effect complete but waiting for the next effect line is kept,
    // and the unfinished event is handed over.
    void finish();

    const std::optional<ParseStop>& stop() const noexcept { return stop_; }

private:
    enum class State { AwaitEvent, AwaitEffect, ReadTrucks };

    // Returns whether the event closed with this effect.
    bool completeEffect();
    // Appends the working effect to the event when it is complete and waiting.
    void appendPending();
    void handOver();
    void stopAt(const RuntimeError& error);

    ParserOptions options_;
    EventSink onEvent_;
    State state_ = State::AwaitEvent;
    ParsedEvent current_;
    bool open_ = false; // current_ is begun and not yet handed over
    EffectData working_;
    std::int16_t announced_ = 0;
    std::int16_t trucksRead_ = 0;
    std::int16_t effectsBegun_ = 0;
    // The working effect is complete but waits for the next effect line to be appended.
    bool pending_ = false;
    long itemNo_ = 0;
    bool done_ = false;
    std::optional<ParseStop> stop_;
};

} // namespace kestavian
