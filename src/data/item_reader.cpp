#include "data/item_reader.h"

#include <algorithm>
#include <cstring>

namespace kestavian {

namespace {

bool isTerminator(char c) {
    return c == ',' || c == '\n' || c == '\r';
}

// Whether any of the eight bytes of word is a comma, LF or CR: the classic test for a zero byte
// after XOR with each of them. Event files are long runs of digits and blanks, and looking at
// eight bytes at a time is most of the speed of reading them.
bool holdsTerminator(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const auto zeroByte = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    return (zeroByte(word ^ (ones * ',')) | zeroByte(word ^ (ones * '\n')) |
            zeroByte(word ^ (ones * '\r'))) != 0;
}

// The position of the first terminator in data from pos on, or data.size() when there is none.
std::size_t findTerminator(std::string_view data, std::size_t pos) {
    const char* bytes = data.data();
    while (pos + 8 <= data.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes + pos, sizeof word);
        if (holdsTerminator(word))
            break;
        pos += 8;
    }
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
    if (clearCarry_) {
        carry_.clear();
        carrying_ = false;
        clearCarry_ = false;
    }
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
    if (clearCarry_) {
        carry_.clear();
        carrying_ = false;
        clearCarry_ = false;
    }
    if (!begun_)
        return std::nullopt;
    if (state_ == State::Blanks)
        text_ = {};
    else if (state_ == State::Plain || state_ == State::Quoted)
        text_ = carry_; // next() moved the text into the carry when the chunk ran out
    return complete(chunkBase_ + chunk_.size());
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
