#include "data/mod_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <sys/stat.h>

#include "data/event_file_reader.h"
#include "support/scripted_dialogs.h"

namespace kestavian::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A fresh folder for one test, removed with everything in it.
struct TempDir {
    fs::path path;
    TempDir() {
        std::string name = (fs::temp_directory_path() / "kestavian_XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::string write(const std::string& name, const std::string& content) const {
        fs::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << content;
        return (path / name).string();
    }
};

long openDescriptors() {
    return std::distance(fs::directory_iterator("/proc/self/fd"), {});
}

TEST(SelectEventFile, ReadsTheItemsOrLeavesThemAlone) {
    const TempDir dir;
    std::string full, fullEcho;
    for (int i = 0; i < 32767; ++i)
        full += "1\n", fullEcho += "1\r\n";
    const std::vector<std::string> fullLines(32767, "1");
    const std::string fifo = (dir.path / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Files of NULs at the byte limit and one past it.
    const std::string largest(32767 * 512, '\0');
    const std::string atLimit = dir.write("at_limit.txt", "");
    const std::string sparse = dir.write("sparse.txt", "");
    fs::resize_file(atLimit, largest.size());
    fs::resize_file(sparse, largest.size() + 1);
    using enum ReadFailureKind;
    const struct {
        std::optional<std::string> chosen; // nothing: cancelled
        std::vector<std::string> lines;
        std::string editor;
        std::string fileName; // empty: the message is shown
        std::optional<ReadFailureKind> kind = {};
        std::string reason = {}; // why the file was not read
    } cases[] = {
        {std::nullopt, {"kept"}, "kept", "previous.txt"},
        {dir.write("run_1_dir/Events_30_x.txt", "12\r\n1  5.0,x\r\n"),
         {"12", "1  5.0", "x"},
         "12\r\n1  5.0\r\nx\r\n",
         "Events_30_x.txt"},
        {dir.write("run\\Events_45_b.txt", "7\r\r"), {"7", ""}, "7\r\n\r\n", "Events_45_b.txt"},
        {dir.write("empty.txt", ""), {}, "", "empty.txt"},
        {dir.write("full.txt", full), fullLines, fullEcho, "full.txt"},
        // Whatever fails, the one message; what was read before stays. The item that overflows
        // the count was echoed but not kept.
        {dir.write("big.txt", full + "1\n"), fullLines, fullEcho + "1\r\n", "", TooLarge,
         "it holds more than 32767 items"},
        {atLimit, {largest}, largest + "\r\n", "at_limit.txt"},
        {sparse, {"kept"}, "kept", "", TooLarge, "it is larger than 16776704 bytes"},
        {(dir.path / "missing.txt").string(), {"kept"}, "kept", "", NoSuchFile, "no such file"},
        {dir.path.string(), {"kept"}, "kept", "", Folder, "it is a folder"},
        {fifo, {"kept"}, "kept", "", NotRegularFile, "not a regular file"},
        {"/dev/null", {"kept"}, "kept", "", NotRegularFile, "not a regular file"},
        {dir.write("plain", "") + "/x", {"kept"}, "kept", "", SystemError, "Not a directory"},
        // The system would stop the name at the NUL and read "plain".
        {dir.path.string() + "/plain\0.txt"s, {"kept"}, "kept", "", NoSuchFile, "no such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.value_or("cancelled"));
        ScriptedDialogs dialogs;
        dialogs.files.push_back(c.chosen);
        EventStore store;
        store.FileName = "previous.txt";
        store.FileLines.append("kept");
        std::string editor = "kept";
        const long descriptors = openDescriptors();

        EXPECT_EQ(SelectEventFile(dialogs, store, editor), c.chosen && !c.fileName.empty());
        EXPECT_EQ(openDescriptors(), descriptors); // the file is closed whatever happened
        EXPECT_TRUE(std::equal(store.FileLines.begin(), store.FileLines.end(), c.lines.begin(),
                               c.lines.end()));
        // Compared whole, shown by its start: one row is 16 MB.
        EXPECT_TRUE(editor == c.editor) << testing::PrintToString(editor.substr(0, 80));
        EXPECT_EQ(store.FileName, c.fileName);
        ASSERT_EQ(dialogs.messageBoxCalls.size(), c.fileName.empty() ? 1u : 0u);
        if (c.fileName.empty()) {
            EXPECT_EQ(dialogs.messageBoxCalls[0].text,
                      "Unkown error while opening file " + *c.chosen);
            EXPECT_EQ(dialogs.messageBoxCalls[0].title, "Kestavian");
        }
        if (!c.chosen)
            continue;
        // The reasons behind the message; streaming knows no limits.
        const std::optional<ReadFailure> failure =
            ReadFileItems(*c.chosen, ViewerReadLimits).failure;
        EXPECT_EQ(failure ? failure->text : "", c.reason);
        EXPECT_EQ(failure ? std::optional(failure->kind) : std::nullopt, c.kind);
        const std::optional<ReadFailure> streamed =
            StreamEventFile(*c.chosen, 3, [](ParsedEvent&) {}).failure;
        EXPECT_EQ(streamed ? std::optional(streamed->kind) : std::nullopt,
                  c.kind == TooLarge ? std::nullopt : c.kind);
        EXPECT_EQ(openDescriptors(), descriptors);
    }
}

// Read in chunks smaller than a line: each event's range cuts its lines out of the file, line
// ends and leading blanks included; a line that stops the parse belongs to no event.
TEST(StreamEventFile, EventRangesCutOutTheirLines) {
    const TempDir dir;
    const std::string effect = "1    1523.70    23983510.15      7.40    ";
    const std::string truck =
        "10010302011405092524504121655110350623609413085620871308400000000000000000000";
    const std::vector<std::string> events{"  12\r\n" + effect + "1\r\n" + truck + "\n",
                                          "\"13\"\r\n" + effect + "0\r", "14\n"};
    const std::string content = events[0] + events[1] + events[2] + "x\n15\n";
    const std::string path = dir.write("e.txt", content);
    std::vector<std::string> cut;
    std::uint64_t lastRead = 0;
    const StreamOutcome outcome = StreamEventFile(
        path, 1,
        [&](ParsedEvent& event) {
            EXPECT_EQ(event.position, cut.size() + 1);
            cut.push_back(content.substr(event.bytes.begin, event.bytes.end - event.bytes.begin));
            if (event.position == 1) { // trucks keep no lines when streamed
                EXPECT_EQ(event.event.Effects(1).Trucks(1).SourceLine, "");
            }
        },
        [&](std::uint64_t read, std::uint64_t total) {
            EXPECT_EQ(read, std::min(lastRead + 5, total));
            lastRead = read;
        },
        5);
    EXPECT_EQ(cut, events);
    EXPECT_EQ(lastRead, content.size());
    EXPECT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.events, 3u);
    EXPECT_EQ(outcome.stop.value_or(ParseStop{}).item, 7);
}

} // namespace
} // namespace kestavian::test
