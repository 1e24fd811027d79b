#include "data/item_reader.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestavian {

namespace {

bool isTerminator(char c) {
    return c == ',' || c == '\n' || c == '\r';
}

// The position of the first terminator in data from pos on, or data.size() when there is none.
// Event files are long runs of digits and blanks: looking at sixteen bytes at a time, where the
// processor can, is most of the speed of reading them.
std::size_t findTerminator(std::string_view data, std::size_t pos) {
    const char* bytes = data.data();
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    for (; pos + 16 <= data.size(); pos += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + pos));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(block, comma), _mm_cmpeq_epi8(block, lineFeed)),
            _mm_cmpeq_epi8(block, carriageReturn));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return pos + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (pos < data.size() && !isTerminator(bytes[pos]))
        ++pos;
    return pos;
}

} // namespace

void ItemStream::feed(std::string_view chunk) noexcept {
    chunkBase_ += chunk_.size();
    chunk_ = chunk;
    pos_ = 0;
    textFrom_ = 0;
}

std::optional<Item> ItemStream::next() {
    releaseCarry();
    while (pos_ < chunk_.size()) {
        switch (state_) {
        case State::Blanks: {
            if (!begun_) {
                begun_ = true;
                itemBegin_ = chunkBase_ + pos_;
            }
            const char c = chunk_[pos_];
            if (c == ' ' || c == '\t') {
                ++pos_;
            } else if (c == '"') {
                textFrom_ = ++pos_;
                state_ = State::Quoted;
            } else {
                textFrom_ = pos_;
                state_ = State::Plain;
            }
            break;
        }
        case State::Plain:
        case State::AfterQuote: {
            const std::size_t at = findTerminator(chunk_, pos_);
            pos_ = at;
            if (at == chunk_.size())
                break;
            if (state_ == State::Plain)
                closeText(at);
            ++pos_;
            if (chunk_[at] != '\r')
                return complete(chunkBase_ + pos_);
            state_ = State::AfterCR; // a LF may follow, in this chunk or the next
            break;
        }
        case State::Quoted: {
            const std::size_t close = chunk_.find('"', pos_);
            if (close == std::string_view::npos) {
                pos_ = chunk_.size();
                break;
            }
            closeText(close);
            pos_ = close + 1;
            state_ = State::AfterQuote;
            break;
        }
        case State::AfterCR:
            if (chunk_[pos_] == '\n')
                ++pos_;
            return complete(chunkBase_ + pos_);
        }
    }
    carryOver();
    return std::nullopt;
}

std::optional<Item> ItemStream::finish() {
    releaseCarry();
    if (!begun_)
        return std::nullopt;
    if (state_ == State::Blanks)
        text_ = {};
    else if (state_ == State::Plain || state_ == State::Quoted)
        text_ = carry_; // next() moved the text into the carry when the chunk ran out
    return complete(chunkBase_ + chunk_.size());
}

void ItemStream::releaseCarry() {
    if (!clearCarry_)
        return;
    carry_.clear();
    carrying_ = false;
    clearCarry_ = false;
}

void ItemStream::closeText(std::size_t pos) {
    const std::string_view piece = chunk_.substr(textFrom_, pos - textFrom_);
    if (carrying_) {
        carry_.append(piece.substr(0, keep_ - std::min(keep_, carry_.size())));
        text_ = carry_;
    } else {
        text_ = piece.substr(0, keep_);
    }
}

std::optional<Item> ItemStream::complete(std::uint64_t end) {
    const Item item{text_, itemBegin_, end};
    state_ = State::Blanks;
    begun_ = false;
    clearCarry_ = carrying_;
    return item;
}

void ItemStream::carryOver() {
    switch (state_) {
    case State::Blanks:
        break;
    case State::Plain:
    case State::Quoted: {
        const std::string_view piece = chunk_.substr(textFrom_);
        carry_.append(piece.substr(0, keep_ - std::min(keep_, carry_.size())));
        carrying_ = true;
        textFrom_ = 0;
        break;
    }
    case State::AfterQuote:
    case State::AfterCR:
        if (!carrying_) {
            carry_.assign(text_);
            carrying_ = true;
        }
        text_ = carry_;
        break;
    }
}

std::optional<std::string_view> ItemReader::next() {
    if (const std::optional<Item> item = stream_.next())
        return item->text;
    if (finished_)
        return std::nullopt;
    finished_ = true;
    if (const std::optional<Item> last = stream_.finish())
        return last->text;
    return std::nullopt;
}

std::vector<std::string> splitItems(std::string_view data) {
    std::vector<std::string> items;
    ItemReader reader(data);
    while (const auto item = reader.next())
        items.emplace_back(*item);
    return items;
}

} // namespace kestavian
