#include "platform/numbers.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

#include "platform/checked_arithmetic.h"
#include "platform/runtime_error.h"

namespace kestavian {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The error number a call raises, or nothing when it returns.
std::optional<ErrorNumber> errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return std::nullopt;
}

// A whole-number result, or nothing for an overflow.
struct WholeCase {
    double in;
    std::optional<std::int32_t> out;
};

TEST(NumbersToWhole, Int16RoundsHalfToEvenAndChecksWidth) {
    const WholeCase cases[] = {
        {2.5, 2},         {3.5, 4},           {-2.5, -2},       {-0.5, 0},         {0.4999999, 0},
        {1.5000001, 2},   {32767, 32767},     {32766.5, 32766}, {32767.49, 32767}, {32767.5, {}},
        {-32768, -32768}, {-32768.5, -32768}, {-32768.51, {}},  {-32769, {}},      {1e300, {}},
        {kInf, {}},       {-kInf, {}},        {kNaN, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        if (c.out) {
            EXPECT_EQ(toInt16(c.in), *c.out);
        } else {
            EXPECT_EQ(errorOf([&] { toInt16(c.in); }), ErrorNumber::Overflow);
        }
    }
}

TEST(NumbersToWhole, Int32RoundsHalfToEvenAndChecksWidth) {
    const WholeCase cases[] = {
        {2.5, 2},
        {40000.5, 40000},
        {2147483647, 2147483647},
        {2147483646.5, 2147483646},
        {2147483647.5, {}},
        {-2147483648.0, std::numeric_limits<std::int32_t>::min()},
        {-2147483648.5, std::numeric_limits<std::int32_t>::min()},
        {-2147483649.0, {}},
        {kNaN, {}},
        {kInf, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        if (c.out) {
            EXPECT_EQ(toInt32(c.in), *c.out);
        } else {
            EXPECT_EQ(errorOf([&] { toInt32(c.in); }), ErrorNumber::Overflow);
        }
    }
}

TEST(NumbersText, AcceptedForms) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"5", 5},
        {".5", 0.5},
        {"5.", 5},
        {"+5", 5},
        {"-5", -5},
        {" \t12.25\t ", 12.25},
        {"007", 7},
        {"0.1", 0.1},
        {"1E3", 1000},
        {"1e-3", 0.001},
        {"1.5E+2", 150},
        {"-.5e1", -5},
        {"2.5e0", 2.5},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"0e999999999999999999999", 0},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(isNumeric(c.text));
        EXPECT_EQ(textToDouble(c.text), c.value);
    }
}

TEST(NumbersText, RejectedFormsAreTypeMismatches) {
    const char* cases[] = {"",     "   ",   "+",   "-",     ".",           "e5",  "1e",
                           "1e+",  "1.2.3", "1 2", "- 5",   "+-5",         "1,5", "0x10",
                           "inf",  "nan",   "1d5", "&H10",  "12a",         "5%",  "\n5",
                           "1e5.", "..5",   "5..", "1e--5", "\xef\xbc\x91"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isNumeric(text));
        EXPECT_EQ(errorOf([&] { textToDouble(text); }), ErrorNumber::TypeMismatch);
        EXPECT_EQ(errorOf([&] { textToSingle(text); }), ErrorNumber::TypeMismatch);
        EXPECT_EQ(errorOf([&] { textToInt16(text); }), ErrorNumber::TypeMismatch);
        EXPECT_EQ(errorOf([&] { textToInt32(text); }), ErrorNumber::TypeMismatch);
    }
}

TEST(NumbersText, OutOfRangeValues) {
    // A Double too large is an overflow and not numeric; the Single range is narrower.
    for (const char* text : {"1e400", "-1e309", "1e99999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(isNumeric(text));
        EXPECT_EQ(errorOf([&] { textToDouble(text); }), ErrorNumber::Overflow);
        EXPECT_EQ(errorOf([&] { textToSingle(text); }), ErrorNumber::Overflow);
    }
    EXPECT_TRUE(isNumeric("1e39"));
    EXPECT_EQ(errorOf([] { textToSingle("1e39"); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { textToSingle("-1e39"); }), ErrorNumber::Overflow);
    EXPECT_EQ(textToSingle("3.4e38"), 3.4e38f);
    EXPECT_EQ(textToSingle("1e-50"), 0.0f);
    EXPECT_EQ(textToSingle(" 32.5 "), 32.5f);
    EXPECT_EQ(textToSingle("0.1"), 0.1f);
}

TEST(NumbersText, ToWholeNumbers) {
    EXPECT_EQ(textToInt16("2.5"), 2);
    EXPECT_EQ(textToInt16("3.5"), 4);
    EXPECT_EQ(textToInt16(" 12 "), 12);
    EXPECT_EQ(textToInt16("-32768.5"), -32768);
    EXPECT_EQ(textToInt16("3.2767E4"), 32767);
    EXPECT_EQ(errorOf([] { textToInt16("40000"); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { textToInt16("1e400"); }), ErrorNumber::Overflow);
    EXPECT_EQ(textToInt32("40000"), 40000);
    EXPECT_EQ(textToInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(errorOf([] { textToInt32("2147483647.5"); }), ErrorNumber::Overflow);
}

TEST(NumbersRound, HalvesGoToEvenAtEveryScale) {
    const struct {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {2.5, 0, 2},
        {3.5, 0, 4},
        {-2.5, 0, -2},
        {100.125, 2, 100.12},
        {0.125, 2, 0.12},
        {0.375, 2, 0.38},
        {1.75, 2, 1.75},
        {101.755, 2, 101.76},
        {-1.0625, 3, -1.062},
        {12.3456, 3, 12.346},
        {0.1 + 0.2, 15, 0.3},
        {4503599627370495.5, 0, 4503599627370496.0},
        // Too large for a fraction at this scale: unchanged, and never an infinity.
        {1e300, 15, 1e300},
        {-1e300, 2, -1e300},
        {450359962737.0498, 4, 450359962737.0498},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at " << c.decimals);
        EXPECT_EQ(roundToDecimals(c.value, c.decimals), c.expected);
    }
    EXPECT_EQ(errorOf([] { roundToDecimals(1, -1); }), ErrorNumber::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { roundToDecimals(1, 16); }), ErrorNumber::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { roundToDecimals(kNaN, 2); }), ErrorNumber::Overflow);
}

TEST(NumbersGeneralForm, Double) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {101.75, "101.75"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"},
        {123456.7890123456, "123456.789012346"},
        {999999999999999, "999999999999999"},
        {999999999999999.9, "1E+15"},
        {1e15, "1E+15"},
        {1.5e16, "1.5E+16"},
        {-1.25e20, "-1.25E+20"},
        {1e308, "1E+308"},
        {0.00001, "0.00001"},
        {0.000123, "0.000123"},
        {0.000009999999999999999, "0.00001"},
        {0.000001, "1E-06"},
        {1e-7, "1E-07"},
        {-1.5e-10, "-1.5E-10"},
        {5e-324, "4.94065645841247E-324"},
        {2.16e10, "21600000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(generalForm(c.value), c.text);
    }
    EXPECT_EQ(errorOf([] { generalForm(kInf); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { generalForm(kNaN); }), ErrorNumber::Overflow);
}

TEST(NumbersGeneralForm, SingleKeepsSevenDigits) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {20.0f, "20"},
        {32.5f, "32.5"},
        {0.1f, "0.1"},
        {-0.0f, "0"},
        {1.0f / 3, "0.3333333"},
        {9999999.0f, "9999999"},
        {1e7f, "1E+07"},
        {16777216.0f, "1.677722E+07"},
        {0.00001f, "0.00001"},
        {1e-6f, "1E-06"},
        {std::numeric_limits<float>::max(), "3.402823E+38"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(generalForm(c.value), c.text);
    }
}

TEST(NumbersGeneralForm, IntegerAndStrForm) {
    EXPECT_EQ(generalForm(std::int32_t{0}), "0");
    EXPECT_EQ(generalForm(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {100.5, " 100.5"}, {0, " 0"}, {-0.0, " 0"}, {-2.5, "-2.5"}, {1e16, " 1E+16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(strForm(c.value), c.text);
    }
}

TEST(CheckedArithmetic, SixteenBitResultsStayInRange) {
    using Op = std::int16_t (*)(std::int16_t, std::int16_t);
    const struct {
        const char* name;
        Op op;
        std::int16_t a, b;
        std::optional<std::int16_t> out;
    } cases[] = {
        {"add", add16, 32767, 0, 32767},   {"add", add16, 32767, 1, {}},
        {"add", add16, -32768, -1, {}},    {"add", add16, -32768, 32767, -1},
        {"sub", sub16, -32767, 1, -32768}, {"sub", sub16, -32768, 1, {}},
        {"sub", sub16, 0, -32768, {}},     {"sub", sub16, -1, -32768, 32767},
        {"mul", mul16, 181, 181, 32761},   {"mul", mul16, 182, 181, {}},
        {"mul", mul16, -256, 128, -32768}, {"mul", mul16, 256, 128, {}},
        {"mul", mul16, -32768, -1, {}},    {"mul", mul16, 100, 10, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ' ' << c.a << ' ' << c.b);
        if (c.out) {
            EXPECT_EQ(c.op(c.a, c.b), *c.out);
        } else {
            EXPECT_EQ(errorOf([&] { c.op(c.a, c.b); }), ErrorNumber::Overflow);
        }
    }
}

TEST(CheckedArithmetic, DoublesNeverCarryInfinityOrNaN) {
    EXPECT_EQ(checkedDivide(6, 3), 2);
    EXPECT_EQ(checkedDivide(-1, 4), -0.25);
    EXPECT_EQ(errorOf([] { checkedDivide(1, 0); }), ErrorNumber::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDivide(0, -0.0); }), ErrorNumber::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDivide(1e308, 1e-10); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { checkedDivide(kNaN, 1); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { checkedDivide(1, kNaN); }), ErrorNumber::Overflow);
    EXPECT_EQ(checkedFinite(1.5), 1.5);
    EXPECT_EQ(errorOf([] { checkedFinite(-kInf); }), ErrorNumber::Overflow);
    EXPECT_EQ(checkedFinite(1.5f), 1.5f);
    EXPECT_EQ(errorOf([] { checkedFinite(std::numeric_limits<float>::infinity()); }),
              ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { checkedFinite(std::numeric_limits<float>::quiet_NaN()); }),
              ErrorNumber::Overflow);
}

} // namespace
} // namespace kestavian
