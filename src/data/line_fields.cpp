#include "data/line_fields.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/numbers.h"

namespace kestavian {

namespace {

// A sign and up to nine digits, the way nearly every field is written, read without the
// general number rules; the value is the same they would give. Anything else, or a value
// outside Int, is left to them.
template <typename Int> std::optional<Int> plainWhole(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        pos = 1;
    const std::size_t digits = text.size() - pos;
    if (digits == 0 || digits > 9)
        return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

// A sign, up to fifteen digits and at most one decimal point, the way the effect lines write
// their figures. The digits as a whole number and the power of ten are both exact doubles, so the
// one rounding of the division gives the nearest double to the text, as the general rules do.
std::optional<double> plainDecimal(std::string_view text) {
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t pos = 0;
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        pos = 1;
    std::int64_t digits = 0;
    int count = 0;
    int decimals = -1; // no point yet
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            if (++count > 15)
                return std::nullopt;
            digits = digits * 10 + (c - '0');
            if (decimals >= 0)
                ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0)
        return std::nullopt;
    const double value = static_cast<double>(digits) / powersOfTen[decimals < 0 ? 0 : decimals];
    return negative ? -value : value;
}

// What a field of each type must hold.
template <typename Value> constexpr const char* Needs = "a number";
template <> constexpr const char* Needs<std::int16_t> = "a whole number from -32768 to 32767";
template <>
constexpr const char* Needs<std::int32_t> = "a whole number from -2147483648 to 2147483647";

// Attaches the field to a conversion error, so a report can say where the parse stopped.
template <typename Value>
Value convertField(std::string_view text, const FieldLayout& field,
                   Value (*convert)(std::string_view)) {
    try {
        return convert(text);
    } catch (const RuntimeError& error) {
        throw FieldError(error.number(), field, text, Needs<Value>);
    }
}

template <typename Int>
Int readWholeField(std::string_view item, const FieldLayout& field,
                   Int (*convert)(std::string_view)) {
    const std::string_view text = cutField(item, field.startColumn, field.width);
    if (const std::optional<Int> value = plainWhole<Int>(text))
        return *value;
    return convertField(text, field, convert);
}

} // namespace

FieldError::FieldError(ErrorNumber number, const FieldLayout& field, std::string_view text,
                       const char* needs)
    : RuntimeError(number), field_(field), text_(text), needs_(needs) {}

std::string_view cutField(std::string_view item, int startColumn, int width) {
    if (startColumn < 1 || width < 0)
        raiseError(ErrorNumber::InvalidProcedureCall);
    const auto start = static_cast<std::size_t>(startColumn - 1);
    if (start >= item.size())
        return {};
    std::string_view text = item.substr(start, static_cast<std::size_t>(width));
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::int16_t readInt16Field(std::string_view item, const FieldLayout& field) {
    return readWholeField<std::int16_t>(item, field, textToInt16);
}

std::int32_t readInt32Field(std::string_view item, const FieldLayout& field) {
    return readWholeField<std::int32_t>(item, field, textToInt32);
}

double readDoubleField(std::string_view item, const FieldLayout& field) {
    const std::string_view text = cutField(item, field.startColumn, field.width);
    if (const std::optional<double> value = plainDecimal(text))
        return *value;
    return convertField(text, field, textToDouble);
}

} // namespace kestavian
