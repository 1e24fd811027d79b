#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <limits>

#include "platform/checked_arithmetic.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const char* const kOver = "Overflow";

// The whole-number conversions are reached through the text ones, which add nothing to them.
TEST(Numbers, TextToNumber) {
    const struct {
        const char *text, *dbl, *sgl, *int16, *int32;
    } cases[] = {
        {".5", "0.5", "0.5", "0", "0"},
        {"3.5", "3.5", "3.5", "4", "4"},
        {" \t+12.25\t ", "12.25", "12.25", "12", "12"},
        {"-.5E+1", "-5", "-5", "-5", "-5"},
        {"32767.5", "32767.5", "32767.5", kOver, "32768"},
        {"-32768.5", "-32768.5", "-32768.5", "-32768", "-32768"},
        {"2147483647.5", "2147483647.5", "2147483648", kOver, kOver},
        // A Single is narrower than a Double at both ends; too small reads as zero.
        {"1e39", "1e+39", kOver, kOver, kOver},
        {"1e-50", "1e-50", "0", "0", "0"},
        {"0e999999999999999999999", "0", "0", "0", "0"},
        {"1e400", kOver, kOver, kOver, kOver},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Outcome([&] { return textToDouble(c.text); }), c.dbl);
        EXPECT_EQ(Outcome([&] { return textToSingle(c.text); }), c.sgl);
        EXPECT_EQ(Outcome([&] { return textToInt16(c.text); }), c.int16);
        EXPECT_EQ(Outcome([&] { return textToInt32(c.text); }), c.int32);
        // A number too large for a Double is not numeric.
        EXPECT_EQ(isNumeric(c.text), c.dbl != std::string(kOver));
    }
    for (const char* text : {"", "   ", "+", ".", "e5", "1e", "1.2.3", "1 2", "+-5", "1,5", "0x10",
                             "inf", "nan", "12a", "\n5", "\xef\xbc\x91"}) {
        EXPECT_FALSE(isNumeric(text)) << text;
        EXPECT_EQ(Outcome([&] { return textToInt32(text); }), "Type mismatch") << text;
    }
    EXPECT_EQ(Outcome([] { return toInt64(9.3e18); }), kOver);
    EXPECT_EQ(Outcome([] { return toInt16(kNaN); }), kOver);
}

TEST(Numbers, RoundingAndNumberText) {
    const struct {
        double value;
        int decimals;
        const char* out;
    } roundings[] = {
        {2.5, 0, "2"},
        {3.5, 0, "4"},
        {100.125, 2, "100.12"},
        // Too large for a fraction at this scale: unchanged, never an infinity.
        {450359962737.0498, 4, "450359962737.0498"},
        {1, 16, "Invalid procedure call or argument"},
        {kNaN, 2, kOver},
    };
    for (const auto& c : roundings)
        EXPECT_EQ(Outcome([&] { return roundToDecimals(c.value, c.decimals); }), c.out) << c.out;

    const struct {
        double value;
        const char* text;
    } doubles[] = {
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {-2.0 / 3, "-0.666666666666667"},
        {2.16e10, "21600000000"},
        {999999999999999.9, "1E+15"},
        {-1.5e16, "-1.5E+16"},
        {0.000001, "1E-06"},
        {kNaN, kOver},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(Outcome([&] { return generalForm(c.value); }), c.text);
    EXPECT_EQ(generalForm(0.1f), "0.1");
    EXPECT_EQ(generalForm(9999999.0f), "9999999");
    EXPECT_EQ(generalForm(1e7f), "1E+07");
    EXPECT_EQ(strForm(100.5), " 100.5");
    EXPECT_EQ(strForm(-2.5), "-2.5");

    // What the user reads and types follows the system's separator; a point stays a point.
    const LocaleForTest comma(QLocale::German);
    EXPECT_EQ(localGeneralForm(32.5f), "32,5");
    EXPECT_EQ(localGeneralForm(-0.25), "-0,25");
    EXPECT_EQ(withDecimalPoint("12,5"), "12.5");
    EXPECT_EQ(withDecimalPoint("32.5"), "32.5");
    EXPECT_EQ(strForm(100.5), " 100.5");
}

TEST(CheckedArithmetic, NoWrappedIntegerNoInfinityNoNaN) {
    using Op = std::int16_t (*)(std::int16_t, std::int16_t);
    const struct {
        Op op;
        std::int16_t a, b;
        const char* out;
    } cases[] = {
        {add16, 32766, 1, "32767"}, {add16, 32767, 1, kOver},   {sub16, -32767, 1, "-32768"},
        {sub16, -32768, 1, kOver},  {sub16, 0, -32768, kOver},  {mul16, 181, 181, "32761"},
        {mul16, 182, 181, kOver},   {mul16, -32768, -1, kOver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome([&] { return c.op(c.a, c.b); }), c.out) << c.a << ", " << c.b;
    EXPECT_EQ(Outcome([] { return checkedDivide(-1, 4); }), "-0.25");
    EXPECT_EQ(Outcome([] { return checkedDivide(0, -0.0); }), "Division by zero");
    EXPECT_EQ(Outcome([] { return checkedDivide(1e308, 1e-10); }), kOver);
}

} // namespace
} // namespace kestavian::test
