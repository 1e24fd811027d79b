#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestavian {

// Splits the bytes of an event file into text items, the way sequential input reads
// comma-delimited items:
// - an item ends at a comma or a line break (LF, CRLF or a lone CR);
// - blanks (spaces and tabs) at the start of an item are skipped; trailing blanks stay;
// - an item starting with a double quote runs to the next double quote, both removed, line
//   breaks and commas included; the rest up to the next comma or line break is dropped. A
//   quote that is never closed runs to the end of the data;
// - an empty line gives an empty item, but the data ending in a line break or a comma gives
//   no extra empty item after it; a last item without a line break is still an item.
// Bytes are taken as they are: NUL bytes and text that is not valid UTF-8 pass through.
class ItemReader {
public:
    explicit ItemReader(std::string_view data) noexcept : data_(data) {}

    // The next item, or nothing when the data is used up. The view points into the data.
    std::optional<std::string_view> next() noexcept;

private:
    // Consumes the terminator at pos_ (comma, LF, CR or CRLF), if any.
    void skipTerminator() noexcept;

    std::string_view data_;
    std::size_t pos_ = 0;
};

// All items of data, in order.
std::vector<std::string> splitItems(std::string_view data);

} // namespace kestavian
