#include "platform/batch_handoff.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <limits>

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
        {"2E3", "2000", "2000", "2000", "2000"},
        {"3.5", "3.5", "3.5", "4", "4"},
        {" \t+12.25\t ", "12.25", "12.25", "12", "12"},
        {"32767.5", "32767.5", "32767.5", kOver, "32768"},
        {"2147483647.5", "2147483647.5", "2147483648", kOver, kOver},
        // A Single is narrower than a Double at both ends; too small reads as zero.
        {"1e39", "1e+39", kOver, kOver, kOver},
        {"1e-50", "1e-50", "0", "0", "0"},
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
    // 411 digits outweigh a negative exponent: still too large.
    EXPECT_EQ(Outcome([] { return textToDouble(std::string(411, '1') + "e-10"); }), kOver);
    // The first non-zero digit after the point sets the size, not the last: 1.01e399.
    EXPECT_EQ(Outcome([] { return textToDouble("0.1" + std::string(400, '0') + "1e400"); }), kOver);
    // And 1e-351, past the smallest double, reads as zero, however large the written exponent.
    EXPECT_EQ(Outcome([] { return textToDouble("0." + std::string(400, '0') + "1e50"); }), "0");
    for (const char* text : {"", "   ", "+", ".", "e5", "1e", "1.2.3", "1 2", "+-5", "1,5", "0x10",
                             "inf", "nan", "12a", "\n5", "\xef\xbc\x91"}) {
        EXPECT_FALSE(isNumeric(text)) << text;
        EXPECT_EQ(Outcome([&] { return textToInt32(text); }), "Type mismatch") << text;
    }
    EXPECT_EQ(Outcome([] { return toInt64(9.3e18); }), kOver);
    EXPECT_EQ(Outcome([] { return toInt16(kNaN); }), kOver);
}

// Rounding sends halves to even; a value too large for a fraction at the scale comes back as it
// is. The general form keeps 15 digits (7 for a Single) and switches to exponents past them.
TEST(Numbers, RoundingAndNumberText) {
    const std::pair<std::string, std::string> cases[] = {
        {Outcome([] { return roundToDecimals(2.5, 0); }), "2"},
        {Outcome([] { return roundToDecimals(100.125, 2); }), "100.12"},
        {Outcome([] { return roundToDecimals(450359962737.0498, 4); }), "450359962737.0498"},
        {Outcome([] { return roundToDecimals(1, 16); }), "Invalid procedure call or argument"},
        {Outcome([] { return roundToDecimals(kNaN, 2); }), kOver},
        {generalForm(-0.0) + " " + generalForm(0.1 + 0.2) + " " + generalForm(-2.0 / 3),
         "0 0.3 -0.666666666666667"},
        {generalForm(2.16e10) + " " + generalForm(999999999999999.9) + " " + generalForm(-1.5e16),
         "21600000000 1E+15 -1.5E+16"},
        {generalForm(0.000001) + " " + generalForm(0.1f) + " " + generalForm(9999999.0f) + " " +
             generalForm(1e7f) + " " + generalForm(1e-10),
         "1E-06 0.1 9999999 1E+07 1E-10"},
        {Outcome([] { return generalForm(kNaN); }), kOver},
    };
    for (const auto& [got, wanted] : cases)
        EXPECT_EQ(got, wanted);
    // What the user reads and types follows the system's separator; a point stays a point, and
    // the Str form of the picture's labels keeps it.
    const LocaleForTest comma(QLocale::German);
    EXPECT_EQ(localGeneralForm(32.5f) + " " + localGeneralForm(-0.25), "32,5 -0,25");
    EXPECT_EQ(withDecimalPoint("12,5") + " " + withDecimalPoint("32.5"), "12.5 32.5");
    EXPECT_EQ(strForm(100.5) + strForm(-2.5), " 100.5-2.5");
}

// Batches consumed alongside reach the consumer whole, once each and in order, the last part
// batch included; a consumer's failure reaches the caller.
TEST(BatchHandoff, ConsumesEveryItemInOrder) {
    for (const bool alongside : {false, true}) {
        std::vector<int> seen;
        BatchHandoff<int> handoff(7, alongside, [&](const std::vector<int>& batch) {
            seen.insert(seen.end(), batch.begin(), batch.end());
        });
        std::vector<int> given;
        for (int i = 0; i < 1000; ++i)
            handoff.push(given.emplace_back(i * 3));
        handoff.finish();
        EXPECT_EQ(seen, given) << alongside;
    }
    BatchHandoff<int> failing(2, true, [](const std::vector<int>&) { throw std::bad_alloc(); });
    failing.push(1);
    failing.push(2);
    EXPECT_THROW(failing.finish(), std::bad_alloc);
}

} // namespace
} // namespace kestavian::test
