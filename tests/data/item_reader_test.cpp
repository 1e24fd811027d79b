#include "data/item_reader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kestavian {
namespace {

struct ItemCase {
    const char* name;
    std::string data;
    std::vector<std::string> items;
};

void PrintTo(const ItemCase& c, std::ostream* os) {
    *os << c.name;
}

class ItemReaderTest : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ItemReaderTest, SplitsIntoItems) {
    EXPECT_EQ(splitItems(GetParam().data), GetParam().items);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    ReadingRule, ItemReaderTest,
    ::testing::Values(
        ItemCase{"Nothing", "", {}}, ItemCase{"LF", "a\nb\n", {"a", "b"}},
        ItemCase{"CRLF", "a\r\nb\r\n", {"a", "b"}}, ItemCase{"CROnly", "a\rb\r", {"a", "b"}},
        ItemCase{"MixedLineEnds", "a\r\n\rb\nc", {"a", "", "b", "c"}},
        ItemCase{"LastItemWithoutBreak", "a\nb", {"a", "b"}}, ItemCase{"OnlyABreak", "\n", {""}},
        ItemCase{"EmptyLines", "\n\r\n\r", {"", "", ""}},
        ItemCase{"CommaEndsItem", "a,b\nc", {"a", "b", "c"}}, ItemCase{"FinalComma", "a,", {"a"}},
        ItemCase{"CommaBeforeBreak", "a,\nb", {"a", "", "b"}},
        ItemCase{"LeadingBlanksSkippedTrailingKept", "  \tab c \n", {"ab c "}},
        ItemCase{"BlankLineIsEmpty", "   \nx", {"", "x"}},
        ItemCase{"QuotedKeepsCommasAndBreaks", "\"a,b\r\nc\"\nd", {"a,b\r\nc", "d"}},
        ItemCase{"TextAfterClosingQuoteDropped", "\"ab\"cd,e\n", {"ab", "e"}},
        ItemCase{"BlanksBeforeQuote", "  \"x\" \n", {"x"}},
        ItemCase{"UnterminatedQuoteRunsToEnd", "\"ab\ncd", {"ab\ncd"}},
        ItemCase{"LoneQuote", "\"", {""}}, ItemCase{"QuoteInsideItem", "a\"b\"\n", {"a\"b\""}},
        ItemCase{"InvalidUtf8Kept", "\xff\xfe\x80\n\xc3", {"\xff\xfe\x80", "\xc3"}},
        ItemCase{"NulBytesKept", "a\0b\n\0"s, {"a\0b"s, "\0"s}}),
    [](const ::testing::TestParamInfo<ItemCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace kestavian
