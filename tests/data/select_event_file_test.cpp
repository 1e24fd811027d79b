#include "data/mod_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>

#include "support/scripted_dialogs.h"

namespace kestavian::test {
namespace {

namespace fs = std::filesystem;

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
    const struct {
        std::optional<std::string> chosen; // nothing: cancelled
        std::vector<std::string> lines;
        std::string editor;
        std::string fileName; // empty: the message is shown
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
        {dir.write("big.txt", full + "1\n"), fullLines, fullEcho + "1\r\n", ""},
        {(dir.path / "missing.txt").string(), {"kept"}, "kept", ""},
        {dir.path.string(), {"kept"}, "kept", ""},
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
        EXPECT_EQ(editor, c.editor);
        EXPECT_EQ(store.FileName, c.fileName);
        ASSERT_EQ(dialogs.messageBoxCalls.size(), c.fileName.empty() ? 1u : 0u);
        if (c.fileName.empty()) {
            EXPECT_EQ(dialogs.messageBoxCalls[0].text,
                      "Unkown error while opening file " + *c.chosen);
            EXPECT_EQ(dialogs.messageBoxCalls[0].title, "Kestavian");
        }
    }
}

} // namespace
} // namespace kestavian::test
