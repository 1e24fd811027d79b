#include "platform/checked_arithmetic.h"

#include <cmath>
#include <limits>

#include "platform/runtime_error.h"

namespace kestavian {

namespace {
std::int16_t narrow16(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        raiseError(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value);
}
} // namespace

std::int16_t add16(std::int16_t a, std::int16_t b) {
    return narrow16(std::int32_t{a} + std::int32_t{b});
}

std::int16_t sub16(std::int16_t a, std::int16_t b) {
    return narrow16(std::int32_t{a} - std::int32_t{b});
}

std::int16_t mul16(std::int16_t a, std::int16_t b) {
    return narrow16(std::int32_t{a} * std::int32_t{b});
}

double checkedDivide(double numerator, double denominator) {
    if (denominator == 0.0)
        raiseError(ErrorNumber::DivisionByZero);
    return checkedFinite(numerator / denominator);
}

double checkedFinite(double value) {
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
    return value;
}

float checkedFinite(float value) {
    if (!std::isfinite(value))
        raiseError(ErrorNumber::Overflow);
    return value;
}

} // namespace kestavian
