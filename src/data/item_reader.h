#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestavian {

// The reading rule of an event file, the way sequential input reads comma-delimited items:
// - an item ends at a comma or a line break (LF, CRLF or a lone CR);
// - blanks (spaces and tabs) at the start of an item are skipped; trailing blanks stay;
// - an item starting with a double quote runs to the next double quote, both removed, line
//   breaks and commas included; the rest up to the next comma or line break is dropped. A
//   quote that is never closed runs to the end of the data;
// - an empty line gives an empty item, but the data ending in a line break or a comma gives
//   no extra empty item after it; a last item without a line break is still an item.
// Bytes are taken as they are: NUL bytes and text that is not valid UTF-8 pass through.

// One item and the bytes it was read from: begin is where its line (or the part after the
// previous comma) starts, leading blanks included; end is just past its terminator, or the end
// of the data. The ranges of successive items therefore tile the data without gaps.
struct Item {
    std::string_view text;
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

// The reading rule over data that arrives in chunks of any size: an item, a quoted run or a
// CRLF pair may straddle chunks. Only the unfinished item is carried from one chunk to the next,
// so memory stays bounded by the longest item (or by keepBytes, below), whatever the data's size.
//
//   stream.feed(chunk);
//   while (auto item = stream.next()) ...;   // repeat for every chunk
//   if (auto last = stream.finish()) ...;    // at the end of the data
class ItemStream {
public:
    // Items longer than keepBytes are cut to their first keepBytes bytes (their ranges stay
    // whole), for readers that look only at the first columns and must not hold a runaway
    // item in memory.
    explicit ItemStream(std::size_t keepBytes = std::numeric_limits<std::size_t>::max()) noexcept
        : keep_(keepBytes) {}

    // Hands over the next chunk. The previous one must have been used up (next() gave nothing);
    // the chunk must stay alive until it is.
    void feed(std::string_view chunk) noexcept;

    // Passes over bytes of the data that are no part of any item (a byte order mark), so that the
    // items' ranges still count from the data's start. Only before the first chunk.
    void skip(std::uint64_t bytes) noexcept { chunkBase_ += bytes; }

    // The next item finished within the data fed so far, or nothing when the chunk is used up.
    // The text stays valid until the next call to next(), feed() or finish().
    std::optional<Item> next();

    // The end of the data: the last item, when one was begun and not yet finished.
    std::optional<Item> finish();

private:
    enum class State { Blanks, Plain, Quoted, AfterQuote, AfterCR };

    // The item whose terminator (or close quote) sits at chunk position pos: its text taken
    // from textFrom_ up to pos.
    void closeText(std::size_t pos);
    std::optional<Item> complete(std::uint64_t end);
    // Empties the carry once the item it held has been handed out and its text is done with.
    void releaseCarry();
    // Moves the unfinished item's bytes of the chunk into the carry before the chunk goes.
    void carryOver();

    std::size_t keep_;
    std::string_view chunk_;
    std::size_t pos_ = 0;
    std::uint64_t chunkBase_ = 0; // offset of chunk_ in the data
    State state_ = State::Blanks;
    bool begun_ = false;          // a byte of the current item has been seen
    std::uint64_t itemBegin_ = 0; // offset where the current item starts
    std::size_t textFrom_ = 0;    // where the current item's text starts in chunk_
    bool carrying_ = false;       // its text so far is in carry_, not in chunk_
    bool clearCarry_ = false;     // the carry was handed out and goes with the next call
    std::string_view text_;       // the closed text (AfterQuote, AfterCR)
    std::string carry_;
};

// Splits whole data by the reading rule, one item at a time.
class ItemReader {
public:
    explicit ItemReader(std::string_view data) noexcept { stream_.feed(data); }

    // The next item, or nothing when the data is used up. The view stays valid until the next
    // call.
    std::optional<std::string_view> next();

private:
    ItemStream stream_;
    bool finished_ = false;
};

// All items of data, in order.
std::vector<std::string> splitItems(std::string_view data);

} // namespace kestavian
