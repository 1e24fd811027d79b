#pragma once

#include <cstdint>

namespace kestavian {

// 16-bit integer arithmetic as the program's counters and control values use it: a result
// outside -32768..32767 is an overflow error, never a wrapped value.
std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t sub16(std::int16_t a, std::int16_t b);
std::int16_t mul16(std::int16_t a, std::int16_t b);

// Double arithmetic that never carries an infinity or NaN on: a division by zero is a
// division-by-zero error, a result that is not finite is an overflow error.
double checkedDivide(double numerator, double denominator);
double checkedFinite(double value);
float checkedFinite(float value);

} // namespace kestavian
