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
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data));
        EXPECT_EQ(splitItems(c.data), c.items);
        // Fed in chunks, a quote, CR or CRLF at a chunk's edge reads the same, and the items'
        // ranges tile the data. Items cut to their first bytes keep their whole ranges.
        for (const auto& [size, keep] :
             {std::pair<std::size_t, std::size_t>{1, 99}, {2, 99}, {3, 1}, {7, 2}}) {
            ItemStream stream(keep);
            std::vector<std::string> items, cut;
            std::uint64_t end = 0;
            const auto take = [&](const Item& item) {
                items.emplace_back(item.text);
                EXPECT_EQ(item.begin, end);
                end = item.end;
            };
            for (std::size_t pos = 0; pos < c.data.size(); pos += size) {
                stream.feed(std::string_view(c.data).substr(pos, size));
                while (const auto item = stream.next())
                    take(*item);
            }
            if (const auto last = stream.finish())
                take(*last);
            for (const std::string& item : c.items)
                cut.push_back(item.substr(0, keep));
            EXPECT_EQ(items, cut) << "in chunks of " << size;
            EXPECT_EQ(end, c.data.size());
        }
    }
}

} // namespace
} // namespace kestavian::test
