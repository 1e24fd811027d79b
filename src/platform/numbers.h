#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestavian {

// Number rules of the program: checked conversions, text to number and number to text.
// Every conversion to a whole number rounds to the nearest whole number with a half going to
// the even neighbour and raises an overflow error outside the target width; text that is not a
// number raises a type-mismatch error. No function here returns an infinity or a NaN.

// Double to 16/32-bit integer (nearest, halves to even; overflow outside the width or when the
// value is not finite).
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
std::int64_t toInt64(double value);

// Text to number. Accepted: blanks around the number, an optional sign, digits with an optional
// decimal point (at least one digit), an optional exponent (E or e, optional sign, digits).
// Blanks are spaces and tabs. Anything else, including the empty text, is a type mismatch; a
// value too large for the type is an overflow; a value too small for it reads as zero.
double textToDouble(std::string_view text);
float textToSingle(std::string_view text);
std::int16_t textToInt16(std::string_view text);
std::int32_t textToInt32(std::string_view text);

// The numeric test: true when textToDouble would accept the text, so a number too large for a
// Double ("1E400") is not numeric.
bool isNumeric(std::string_view text);

// Rounds to n decimal places (0 <= n <= 15, else an invalid-call error), a half going to the
// even neighbour: the value scaled by 10^n is rounded, so 100.125 gives 100.12 at n = 2. A value
// too large to hold a fraction at that scale (|value| >= 2^52 / 10^n) comes back unchanged; a
// value that is not finite is an overflow.
double roundToDecimals(double value, int decimals);

// The general number form: up to 15 significant digits for a Double and 7 for a Single, no
// trailing zeros, no decimal point for a whole number, a leading minus sign for negatives and
// no sign otherwise. Exponent notation ("1.5E+16", "1E-07") only for magnitudes of 1E15 and
// above (1E7 for a Single) or below 1E-5, judged after rounding to the digits kept, so
// 999999999999999.9 is written "1E+15". Negative zero is written "0"; a value that is not finite
// is an overflow.
std::string generalForm(double value);
std::string generalForm(float value);
std::string generalForm(std::int32_t value);

// The shortest text that reads back as the same double, with a point ("1523.7"), for files other
// programs read.
std::string shortestForm(double value);

// The Str form: the general form with a blank in place of the sign of a value that is not
// negative (" 100.5", "-2.5"). The decimal separator is always a point.
std::string strForm(double value);

} // namespace kestavian
