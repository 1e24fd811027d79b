#include "data/event_parser.h"

#include <algorithm>
#include <utility>

#include "data/line_fields.h"
#include "data/mod_input.h"
#include "platform/checked_arithmetic.h"

namespace kestavian {

EventParser::EventParser(const ParserOptions& options, EventSink onEvent)
    : options_(options), onEvent_(std::move(onEvent)) {}

void EventParser::push(const Item& item) {
    if (done_)
        return;
    ++itemNo_;
    bool closed = false;
    try {
        switch (state_) {
        case State::AwaitEvent: {
            const std::int32_t eventNo = parseEventNo(item.text);
            // Counted after the number, so a bad header is a bad field rather than an overflow.
            if (current_.position >= options_.maxEvents)
                raiseError(ErrorNumber::Overflow,
                           "more than " + std::to_string(options_.maxEvents) + " events");
            ++current_.position;
            current_.event.EventNo = eventNo;
            current_.event.EffectCount = 0;
            current_.event.Effects.clear();
            current_.bytes = {item.begin, item.end};
            open_ = true;
            state_ = State::AwaitEffect;
            break;
        }
        case State::AwaitEffect: {
            appendPending();
            const auto eventIndex =
                static_cast<std::int16_t>(current_.position <= 32767 ? current_.position : 0);
            working_ = ParseEffectLine(item.text, eventIndex);
            announced_ = parseAnnouncedTrucks(item.text);
            effectsBegun_ = add16(effectsBegun_, 1);
            trucksRead_ = 0;
            current_.bytes.end = item.end;
            if (announced_ > 0) {
                // One allocation for the usual few trucks, whatever count the line claims; none
                // when they are only counted.
                if (options_.trucks != ParserOptions::Trucks::Counted)
                    working_.Trucks.reserve(
                        static_cast<std::size_t>(std::min<int>(announced_, 16)));
                state_ = State::ReadTrucks;
            } else
                closed = completeEffect();
            break;
        }
        case State::ReadTrucks:
            if (options_.trucks == ParserOptions::Trucks::Counted) {
                CheckTruckLine(item.text);
                working_.NoTrucks = add16(working_.NoTrucks, 1);
            } else {
                AddTruck(ParseTruckLine(item.text, options_.trucks == ParserOptions::Trucks::Whole),
                         working_);
            }
            trucksRead_ = add16(trucksRead_, 1);
            current_.bytes.end = item.end;
            if (trucksRead_ == announced_)
                closed = completeEffect();
            break;
        }
    } catch (const RuntimeError& error) {
        stopAt(error);
        throw;
    }
    // Outside the guard: a failure of the receiver is not a failure of the file.
    if (closed)
        handOver();
}

void EventParser::finish() {
    if (done_)
        return;
    done_ = true;
    // A complete effect waiting at the end of the file is kept rather than dropped; only an
    // effect still short of trucks is lost. It cannot overflow the event's effect count: it is
    // not the event's last effect, and an event holds at most 32767.
    appendPending();
    if (open_)
        handOver();
}

bool EventParser::completeEffect() {
    pending_ = true;
    if (effectsBegun_ != options_.noEffects) {
        state_ = State::AwaitEffect;
        return false;
    }
    appendPending();
    effectsBegun_ = 0;
    state_ = State::AwaitEvent;
    return true;
}

void EventParser::appendPending() {
    if (!pending_)
        return;
    AddEffect(std::move(working_), current_.event);
    pending_ = false;
}

void EventParser::handOver() {
    open_ = false;
    onEvent_(current_);
}

void EventParser::stopAt(const RuntimeError& error) {
    done_ = true;
    ParseStop stop;
    stop.item = itemNo_;
    stop.number = error.number();
    if (const auto* fieldError = dynamic_cast<const FieldError*>(&error)) {
        stop.field = fieldError->field().name;
        stop.startColumn = fieldError->field().startColumn;
        stop.width = fieldError->field().width;
        stop.text = fieldError->text();
        stop.needs = fieldError->needs();
    } else if (error.what() != errorDescription(error.number())) {
        stop.detail = error.what();
    }
    stop_ = std::move(stop);
    if (open_)
        handOver();
}

} // namespace kestavian
