#include "platform/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/runtime_error.h"

namespace kestavian {

namespace {

template <typename Int> Int toWhole(double value) {
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
    // nearbyint under the default rounding mode sends a half to the even neighbour.
    const double whole = std::nearbyint(value);
    // The lower limit is a power of two, an exact double; the upper one is not for 64 bits, so
    // the test is against the power of two above it, which no value of the type reaches.
    constexpr double upperBound = -static_cast<double>(std::numeric_limits<Int>::min());
    if (whole < static_cast<double>(std::numeric_limits<Int>::min()) || whole >= upperBound)
        raiseError(ErrorNumber::Overflow);
    return static_cast<Int>(whole);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

enum class ParseStatus { Ok, Mismatch, Overflow };

template <typename Real> struct Parsed {
    ParseStatus status = ParseStatus::Mismatch;
    Real value = 0;
};

// Checks the accepted grammar by hand, because from_chars alone would also take "inf", "nan"
// and hexadecimal forms, and would refuse a leading plus sign.
template <typename Real> Parsed<Real> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;

    // Decimal exponent of the first non-zero digit, before the written exponent is added; it
    // tells an overflow from an underflow when from_chars reports the value out of range.
    long long leadingExponent = 0;
    bool seenNonZero = false;
    std::size_t digits = 0;
    long long intDigits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        if (!seenNonZero && text[pos] != '0') {
            seenNonZero = true;
            leadingExponent = -intDigits;
        }
        ++intDigits;
        ++digits;
        ++pos;
    }
    if (seenNonZero)
        leadingExponent += intDigits - 1;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        long long fracIndex = 0;
        while (pos < text.size() && isDigit(text[pos])) {
            ++fracIndex;
            if (!seenNonZero && text[pos] != '0') {
                seenNonZero = true;
                leadingExponent = -fracIndex;
            }
            ++digits;
            ++pos;
        }
    }
    if (digits == 0)
        return {};

    long long writtenExponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool exponentNegative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponentNegative = text[pos] == '-';
            ++pos;
        }
        const std::size_t exponentStart = pos;
        while (pos < text.size() && isDigit(text[pos])) {
            // Saturate: anything this large is out of range either way.
            if (writtenExponent < 1'000'000'000'000'000)
                writtenExponent = writtenExponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (pos == exponentStart)
            return {};
        if (exponentNegative)
            writtenExponent = -writtenExponent;
    }
    if (pos != text.size())
        return {};

    // from_chars takes no plus sign; the minus sign is applied afterwards so that the digits
    // and the exponent go in unchanged.
    const std::string_view body = text.substr(mantissaStart);
    Real magnitude = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), magnitude);
    if (ec == std::errc::result_out_of_range) {
        if (leadingExponent + writtenExponent > 0)
            return {ParseStatus::Overflow, 0};
        magnitude = 0; // too small to represent: reads as zero
    } else if (ec != std::errc{} || end != body.data() + body.size()) {
        return {};
    }
    if (!std::isfinite(magnitude))
        return {ParseStatus::Overflow, 0};
    return {ParseStatus::Ok, negative ? -magnitude : magnitude};
}

template <typename Real> Real textToReal(std::string_view text) {
    const Parsed<Real> parsed = parseNumber<Real>(text);
    if (parsed.status == ParseStatus::Mismatch)
        raiseError(ErrorNumber::TypeMismatch);
    if (parsed.status == ParseStatus::Overflow)
        raiseError(ErrorNumber::Overflow);
    return parsed.value;
}

// Writes a finite value with the given number of significant digits (at most 17), without
// trailing zeros, switching to the "1.5E+16" form when the decimal exponent, taken after
// rounding, reaches fixedLimit or falls below -5.
std::string formatGeneral(double value, int significant, int fixedLimit) {
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
    if (value == 0)
        return "0"; // negative zero too
    std::string out = value < 0 ? "-" : "";

    // Scientific form rounds to the digits wanted; a carry (9.99..9 -> 10) shows up in the
    // exponent, so the form chosen below follows the rounded value.
    std::array<char, 40> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, significant - 1);
    if (result.ec != std::errc{})
        raiseError(ErrorNumber::Overflow);
    const std::string_view sci(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t ePos = sci.find('e');
    if (ePos == std::string_view::npos)
        raiseError(ErrorNumber::Overflow);

    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (isDigit(c))
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    const std::string_view expText = sci.substr(ePos + 1);
    const char* expBegin = expText.data() + (expText.front() == '+' ? 1 : 0);
    if (std::from_chars(expBegin, expText.data() + expText.size(), exponent).ec != std::errc{})
        raiseError(ErrorNumber::Overflow);

    if (exponent >= fixedLimit || exponent < -5) {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto intLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLength) {
            out += digits;
            out.append(intLength - digits.size(), '0');
        } else {
            out.append(digits, 0, intLength);
            out += '.';
            out.append(digits, intLength);
        }
    }
    return out;
}

} // namespace

std::int16_t toInt16(double value) {
    return toWhole<std::int16_t>(value);
}

std::int32_t toInt32(double value) {
    return toWhole<std::int32_t>(value);
}

std::int64_t toInt64(double value) {
    return toWhole<std::int64_t>(value);
}

double textToDouble(std::string_view text) {
    return textToReal<double>(text);
}

float textToSingle(std::string_view text) {
    return textToReal<float>(text);
}

std::int16_t textToInt16(std::string_view text) {
    return toInt16(textToDouble(text));
}

std::int32_t textToInt32(std::string_view text) {
    return toInt32(textToDouble(text));
}

bool isNumeric(std::string_view text) {
    return parseNumber<double>(text).status == ParseStatus::Ok;
}

double roundToDecimals(double value, int decimals) {
    if (decimals < 0 || decimals > 15)
        raiseError(ErrorNumber::InvalidProcedureCall);
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
    const double scale = std::pow(10.0, decimals); // exact up to 1E22
    // Beyond 2^52 / scale the scaled value has no fraction left to round, and scaling it could
    // even overflow, so such a value is already as rounded as it can be.
    constexpr double wholeLimit = 4503599627370496.0; // 2^52
    if (std::fabs(value) >= wholeLimit / scale)
        return value;
    return std::nearbyint(value * scale) / scale;
}

std::string generalForm(double value) {
    return formatGeneral(value, 15, 15);
}

// The float widens exactly to double and is then rounded to 7 digits, which gives the short
// decimal one would write for it (0.1f is 0.100000001490116... and prints "0.1").
std::string generalForm(float value) {
    return formatGeneral(static_cast<double>(value), 7, 7);
}

std::string generalForm(std::int32_t value) {
    return std::to_string(value);
}

std::string shortestForm(double value) {
    std::array<char, 32> text;
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), written.ptr);
}

std::string strForm(double value) {
    std::string text = generalForm(value);
    if (text.front() != '-')
        text.insert(text.begin(), ' ');
    return text;
}

} // namespace kestavian
