#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <limits>

#include "platform/checked_arithmetic.h"
#include "support/record_builders.h"

namespace kestavian::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const char* const kOver = "Overflow";

// The whole-number conversions are reached through the text ones, which add nothing to them.
TEST(Numbers, TextToNumber) {
    const struct {
        const char *text, *dbl, *sgl, *int16, *int32;
    } cases[] = {
        {".5", "0.5", "0.5", "0", "0"},
        {"3.5", "3.5", "3.5", "4", "4"},
        {"5.", "5", "5", "5", "5"},
        {" \t+12.25\t ", "12.25", "12.25", "12", "12"},
        {"-.5E+1", "-5", "-5", "-5", "-5"},
        {"32767.5", "32767.5", "32767.5", kOver, "32768"},
        {"-32768.5", "-32768.5", "-32768.5", "-32768", "-32768"},
        {"-32768.51", "-32768.51", "-32768.51", kOver, "-32769"},
        {"2147483647.5", "2147483647.5", "2147483648", kOver, kOver},
        {"-2147483648.5", "-2147483648.5", "-2147483648", kOver, "-2147483648"},
        // A Single is narrower than a Double at both ends; too small reads as zero.
        {"1e39", "1e+39", kOver, kOver, kOver},
        {"1e-50", "1e-50", "0", "0", "0"},
        {"1e-400", "0", "0", "0", "0"},
        {"0e999999999999999999999", "0", "0", "0", "0"},
        {"1.7976931348623157e308", "1.7976931348623157e+308", kOver, kOver, kOver},
        {"1e400", kOver, kOver, kOver, kOver},
        {"-1e99999999999999999999", kOver, kOver, kOver, kOver},
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
    for (const char* text :
         {"",    "   ", "+",   "-",    ".",    "e5",    "1e",          "1e+", "1.2.3",
          "1 2", "- 5", "+-5", "1,5",  "0x10", "inf",   "nan",         "1d5", "&H10",
          "12a", "5%",  "\n5", "1e5.", "..5",  "1e--5", "\xef\xbc\x91"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isNumeric(text));
        EXPECT_EQ(Outcome([&] { return textToDouble(text); }), "Type mismatch");
        EXPECT_EQ(Outcome([&] { return textToSingle(text); }), "Type mismatch");
        EXPECT_EQ(Outcome([&] { return textToInt16(text); }), "Type mismatch");
        EXPECT_EQ(Outcome([&] { return textToInt32(text); }), "Type mismatch");
    }
    EXPECT_EQ(ErrorOf([] { toInt16(kNaN); }), ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([] { toInt32(-kInf); }), ErrorNumber::Overflow);
}

TEST(Numbers, RoundToDecimalsSendsHalvesToEven) {
    const struct {
        double value;
        int decimals;
        const char* out;
    } cases[] = {
        {2.5, 0, "2"},
        {3.5, 0, "4"},
        {100.125, 2, "100.12"},
        {4503599627370495.5, 0, "4503599627370496"},
        // Too large for a fraction at this scale: unchanged, never an infinity.
        {450359962737.0498, 4, "450359962737.0498"},
        {1e300, 15, "1e+300"},
        {1, -1, "Invalid procedure call or argument"},
        {1, 16, "Invalid procedure call or argument"},
        {kNaN, 2, kOver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome([&] { return roundToDecimals(c.value, c.decimals); }), c.out) << c.out;
}

TEST(Numbers, GeneralAndStrForms) {
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
        {0.000009999999999999999, "0.00001"},
        {0.000001, "1E-06"},
        {5e-324, "4.94065645841247E-324"},
        {kNaN, kOver},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(Outcome([&] { return generalForm(c.value); }), c.text);
    const struct {
        float value;
        const char* text;
    } singles[] = {
        {0.1f, "0.1"},   {1.0f / 3, "0.3333333"},       {9999999.0f, "9999999"},
        {1e7f, "1E+07"}, {16777216.0f, "1.677722E+07"},
    };
    for (const auto& c : singles)
        EXPECT_EQ(generalForm(c.value), c.text);
    EXPECT_EQ(generalForm(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(strForm(100.5), " 100.5");
    EXPECT_EQ(strForm(-0.0), " 0");
    EXPECT_EQ(strForm(-2.5), "-2.5");
    EXPECT_EQ(strForm(1e16), " 1E+16");
}

TEST(CheckedArithmetic, NoWrappedIntegerNoInfinityNoNaN) {
    using Op = std::int16_t (*)(std::int16_t, std::int16_t);
    const struct {
        Op op;
        std::int16_t a, b;
        const char* out;
    } cases[] = {
        {add16, 32767, 1, kOver},     {add16, -32768, -1, kOver}, {add16, -32768, 32767, "-1"},
        {sub16, -32767, 1, "-32768"}, {sub16, -32768, 1, kOver},  {sub16, 0, -32768, kOver},
        {sub16, -1, -32768, "32767"}, {mul16, 181, 181, "32761"}, {mul16, 182, 181, kOver},
        {mul16, -256, 128, "-32768"}, {mul16, 256, 128, kOver},   {mul16, -32768, -1, kOver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome([&] { return c.op(c.a, c.b); }), c.out) << c.a << ", " << c.b;

    const struct {
        double numerator, denominator;
        const char* out;
    } divisions[] = {
        {-1, 4, "-0.25"},      {1, 0, "Division by zero"}, {0, -0.0, "Division by zero"},
        {1e308, 1e-10, kOver}, {1, kNaN, kOver},
    };
    for (const auto& c : divisions)
        EXPECT_EQ(Outcome([&] { return checkedDivide(c.numerator, c.denominator); }), c.out);
    EXPECT_EQ(ErrorOf([] { checkedFinite(-kInf); }), ErrorNumber::Overflow);
    EXPECT_EQ(ErrorOf([] { checkedFinite(std::numeric_limits<float>::quiet_NaN()); }),
              ErrorNumber::Overflow);
}

} // namespace
} // namespace kestavian::test
