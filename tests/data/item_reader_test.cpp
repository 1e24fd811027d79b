#include "data/item_reader.h"

#include <gtest/gtest.h>

namespace kestavian::test {
namespace {

using namespace std::string_literals;

TEST(ItemReader, SplitsLikeSequentialInput) {
    const struct {
        std::string data;
        std::vector<std::string> items;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\r\n\rb\nc", {"a", "", "b", "c"}}, // CRLF, CR and LF; no break after the last item
        {"a,b\nc,", {"a", "b", "c"}},
        {"a,\nb", {"a", "", "b"}},
        {"  \tab c \n   \nx", {"ab c ", "", "x"}}, // leading blanks skipped, trailing kept
        {"\"a,b\r\nc\"\nd", {"a,b\r\nc", "d"}},
        {"  \"ab\"cd,e\r", {"ab", "e"}}, // text after the closing quote is dropped
        {"\"ab\ncd", {"ab\ncd"}},        // a quote never closed runs to the end
        {"\"", {""}},
        {"a\"b\"\n", {"a\"b\""}},
        {"\xff\xfe\n\xc3", {"\xff\xfe", "\xc3"}},
        {"a\0b\n\0"s, {"a\0b"s, "\0"s}},
    };
    // In chunks, with the items' byte ranges, it is checked against this whole read by the
    // fuzz entry point, over the corpus and here.
    for (const auto& c : cases)
        EXPECT_EQ(splitItems(c.data), c.items) << testing::PrintToString(c.data);
    ItemStream stream(2);
    std::vector<std::string> cut;
    for (const char byte : std::string("  ab,\"c\r\nd\"\r\n"))
        for (stream.feed(std::string_view(&byte, 1)); const auto item = stream.next();)
            cut.emplace_back(item->text);
    EXPECT_EQ(cut, (std::vector<std::string>{"ab", "c\r"})); // cut to 2 bytes, ranges whole
    EXPECT_EQ(stream.finish(), std::nullopt);
}

} // namespace
} // namespace kestavian::test
