#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/event_parser.h"

namespace kestavian::cli {

// One stored load effect, with where it stands in the file.
struct EffectRow {
    std::uint64_t position = 0; // the event's, from 1, as render --event takes it
    long index = 0;             // the effect's place in its event, from 1 (the viewer's list)
    std::int32_t eventNo = 0;
    std::int16_t effectNo = 0;
    double value = 0;
    double time = 0;
    double distance = 0;
    std::int16_t trucks = 0;
    ByteRange bytes; // the event's lines in the file
};

// The row of effect `index` (from 1) of an event as the parser hands it over.
EffectRow rowOf(const ParsedEvent& event, long index);

// Events written as "3,17,250-260": whole numbers from `lowest` and ranges of them, in any order,
// repeats allowed. They are event positions in the file (from 1) or event numbers (from 0).
class EventList {
public:
    using Range = std::pair<std::uint64_t, std::uint64_t>;

    // Nothing for a text that is not such a list.
    static std::optional<EventList> parse(std::string_view text, std::uint64_t lowest);

    bool contains(std::uint64_t value) const;
    std::uint64_t last() const { return ranges_.back().second; }
    // The numbers and ranges as written, each first <= second.
    const std::vector<Range>& written() const { return written_; }

private:
    // Sorted, neither overlapping nor touching, each first <= second.
    std::vector<Range> ranges_;
    std::vector<Range> written_;
};

// The rows of the greatest values (or the least), best first: of two rows of the same value the
// one earlier in the file goes first, and is the one kept when only one can be.
class RowRanking {
public:
    RowRanking(std::uint64_t count, bool greatest) : count_(count), greatest_(greatest) {}

    void add(const EffectRow& row);
    // The rows kept, best first; the ranking is empty afterwards.
    std::vector<EffectRow> take();

private:
    bool ranksBefore(const EffectRow& a, const EffectRow& b) const;

    std::uint64_t count_;
    bool greatest_;
    // A heap whose front is the last row kept, the one a better row takes the place of.
    std::vector<EffectRow> kept_;
};

// Which rows a command takes: those of one effect number (all without it), and of those the
// best few (all, in file order, without a ranking).
struct RowChoice {
    std::optional<std::int16_t> effectNo;
    struct Ranking {
        std::uint64_t count = 0;
        bool greatest = true;
    };
    std::optional<Ranking> ranking;

    // A ranking to keep the best rows in; nothing when every row is taken in file order.
    std::optional<RowRanking> newRanking() const {
        if (!ranking)
            return std::nullopt;
        return RowRanking(ranking->count, ranking->greatest);
    }
    // Hands visit each row of the event that is of the chosen effect number, in the event's order.
    template <typename Visit> void forEachKept(const ParsedEvent& event, Visit&& visit) const {
        for (long i = 1; i <= event.event.EffectCount; ++i)
            if (const EffectRow row = rowOf(event, i); !effectNo || row.effectNo == *effectNo)
                visit(row);
    }
};

// The events a command takes: listed by position or by event number, or those holding the rows of
// a ranking.
struct EventChoice {
    std::optional<EventList> listed;
    bool byNumber = false;
    RowChoice rows;

    // Whether the event is one the list names.
    bool lists(const ParsedEvent& event) const;
};

// The event numbers that a list names, met while reading, with where they stand in the file: a
// number must name exactly one event, and a range at least one, or the list is refused.
class ListedNumbers {
public:
    explicit ListedNumbers(const EventChoice& choice) : choice_(choice) {}

    void add(const ParsedEvent& event);
    // What is wrong with the list, for an error line after option (such as "--events"); empty
    // when every number and range names an event and no number names several.
    std::string problem(const std::string& option) const;

private:
    struct Held {
        std::uint64_t count = 0;
        std::vector<std::uint64_t> positions; // the first few
    };
    const EventChoice& choice_;
    std::map<std::uint64_t, Held> held_;
};

// The effect numbers a file holds, to tell an --effect that names none of them.
class EffectNumbers {
public:
    void add(const ParsedEvent& event);
    void merge(const EffectNumbers& other);
    bool has(std::int16_t effectNo) const;
    // The numbers held, least first.
    std::vector<std::int16_t> numbers() const;
    // "numbered 1 to 3", "numbered 1, 2 and 5", or "none" when there are none.
    std::string describe() const;

private:
    std::vector<bool> seen_ = std::vector<bool>(65536);
};

} // namespace kestavian::cli
