#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "data/event_file_reader.h"
#include "data/item_reader.h"

namespace kestavian::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A fresh folder for one test, removed with everything in it.
struct TempDir : QTemporaryDir {
    fs::path path{QTemporaryDir::path().toStdString()};
    std::string write(const std::string& name, const std::string& content) const {
        fs::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << content;
        return (path / name).string();
    }
};

long openDescriptors() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), {});
}

TEST(ItemReader, SplitsLikeSequentialInput) {
    const struct {
        std::string data;
        std::vector<std::string> items;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\r\n\rb\nc", {"a", "", "b", "c"}}, // CRLF, CR and LF; no break after the last item
        {"a,b\nc,", {"a", "b", "c"}},
        {"  \tab c \n   \nx", {"ab c ", "", "x"}}, // leading blanks skipped, trailing kept
        {"\"a,b\r\nc\"\nd", {"a,b\r\nc", "d"}},
        {"  \"ab\"cd,e\r", {"ab", "e"}}, // text after the closing quote is dropped
        {"\"ab\ncd", {"ab\ncd"}},        // a quote never closed runs to the end
        {"\xff\xfe\n\xc3", {"\xff\xfe", "\xc3"}},
        {"a\0b\n\0"s, {"a\0b"s, "\0"s}},
        {"a\n  ", {"a", ""}},
    };
    // In chunks, with the items' byte ranges, it is checked against this whole read by the
    // fuzz entry point, over the corpus.
    for (const auto& c : cases)
        EXPECT_EQ(splitItems(c.data), c.items) << testing::PrintToString(c.data);
}

// Reading gives the items, or the reason it could not, also when it stopped part-way; the
// streaming read gives the same reasons, without the viewer's limits. The file is closed
// whatever happened.
TEST(readFileItems, ItemsOrTheReason) {
    const TempDir dir;
    std::string full;
    for (int i = 0; i < 32767; ++i)
        full += "1\n";
    const std::vector<std::string> fullLines(32767, "1");
    std::vector<std::string> overLines = fullLines;
    overLines.push_back("1"); // the item over the limit is read, for the caller to show
    const std::string fifo = (dir.path / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Files of NULs at the byte limit and one past it.
    const std::string largest(32767 * 512, '\0');
    const std::string atLimit = dir.write("at_limit.txt", "");
    const std::string sparse = dir.write("sparse.txt", "");
    fs::resize_file(atLimit, largest.size());
    fs::resize_file(sparse, largest.size() + 1);
    using enum ReadFailureKind;
    // "12" and "x", gzip-compressed (two members, as concatenated files are).
    const std::string gzip =
        "\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03\x33\x34\xE2\x02\x00\xDA\xEB\x4D\xD7\x03\x00\x00"
        "\x00"
        "\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03\xAB\xE0\x02\x00\x1F\x08\xEA\x46\x02\x00\x00\x00"s;
    const struct {
        std::string path;
        std::vector<std::string> items;
        std::optional<ReadFailureKind> kind = {};
        std::string reason = {};
        bool viewerOnly = false; // the streaming read takes the file
    } cases[] = {
        {dir.write("run_1_dir/Events_30_x.txt", "12\r\n1  5.0,x\r\n"), {"12", "1  5.0", "x"}},
        {dir.write("empty.txt", ""), {}},
        {dir.write("bom.txt", "\xEF\xBB\xBF"
                              "12\n\xEF\xBB\xBFx"),
         {"12", "\xEF\xBB\xBFx"}},
        {dir.write("full.txt", full), fullLines},
        {dir.write("big.txt", full + "1\n"), overLines, TooManyItems,
         "it holds more than 32767 items", true},
        {atLimit, {largest}},
        {sparse, {}, TooLarge, "it is larger than 16776704 bytes", true},
        {dir.write("x.gz", gzip), {}, Compressed, "it is compressed (gzip)", true},
        {dir.write("x.xz", "\xFD"
                           "7zXZ\0\0\x04"s),
         {},
         Compressed,
         "it is compressed (xz)"},
        {(dir.path / "missing.txt").string(), {}, NoSuchFile, "no such file"},
        {dir.path.string(), {}, Folder, "it is a folder"},
        {fifo, {}, NotRegularFile, "not a regular file"},
        {dir.write("plain", "") + "/x", {}, NoSuchFile, "no such file"},
        // The system would stop the name at the NUL and read "plain".
        {dir.path.string() + "/plain\0.txt"s, {}, NoSuchFile, "no such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 80));
        const long descriptors = openDescriptors();
        const FileItems read = readFileItems(c.path, ViewerReadLimits);
        EXPECT_TRUE(read.items == c.items) << read.items.size();
        EXPECT_EQ(read.failure ? read.failure->text : "", c.reason);
        EXPECT_EQ(read.failure ? std::optional(read.failure->kind) : std::nullopt, c.kind);
        const std::optional<ReadFailure> streamed =
            streamEventFile(c.path, 3, [](ParsedEvent&) {}).failure;
        EXPECT_EQ(streamed ? std::optional(streamed->kind) : std::nullopt,
                  c.viewerOnly ? std::nullopt : c.kind);
        EXPECT_EQ(openDescriptors(), descriptors);
    }
}

// Read in chunks smaller than a line: each event's range cuts its lines out of the file, line
// ends and leading blanks included, the byte order mark before them not; a line that stops the
// parse belongs to no event.
TEST(streamEventFile, EventRangesCutOutTheirLines) {
    const TempDir dir;
    const std::string effect = "1    1523.70    23983510.15      7.40    ";
    const std::string truck =
        "10010302011405092524504121655110350623609413085620871308400000000000000000000";
    const std::vector<std::string> events{"  12\r\n" + effect + "1\r\n" + truck + "\n",
                                          "\"13\"\r\n" + effect + "0\r", "14\n"};
    const std::string content = "\xEF\xBB\xBF" + events[0] + events[1] + events[2] + "x\n15\n";
    const std::string path = dir.write("e.txt", content);
    std::vector<std::string> cut;
    std::uint64_t lastRead = 0;
    const StreamOutcome outcome = streamEventFile(
        path, 1,
        [&](ParsedEvent& event) {
            EXPECT_EQ(event.position, cut.size() + 1);
            cut.push_back(content.substr(event.bytes.begin, event.bytes.end - event.bytes.begin));
        },
        [&](std::uint64_t read, std::uint64_t) { lastRead = read; }, ParserOptions::Trucks::Fields,
        5);
    EXPECT_EQ(cut, events);
    EXPECT_GT(lastRead, content.find("x\n")); // read up to the stop, and no further than needed
    EXPECT_LE(lastRead, content.size());
    EXPECT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.events, 3u);
    EXPECT_EQ(outcome.stop.value_or(ParseStop{}).item, 7);
}

} // namespace
} // namespace kestavian::test
