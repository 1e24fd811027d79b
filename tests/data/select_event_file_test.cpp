#include "data/mod_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/scripted_dialogs.h"

namespace kestavian {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        static int counter = 0;
        path_ = fs::temp_directory_path() /
                ("kestavian_open_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string write(const std::string& name, const std::string& content) const {
        const fs::path file = path_ / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

std::vector<std::string> linesOf(const EventStore& store) {
    return {store.FileLines.begin(), store.FileLines.end()};
}

TEST(SelectEventFileTest, CancelKeepsFileName) {
    test::ScriptedDialogs dialogs;
    dialogs.files.push_back(std::nullopt);
    EventStore store;
    store.FileName = "previous.txt";
    std::string editor = "before";

    EXPECT_FALSE(SelectEventFile(dialogs, store, editor));
    EXPECT_EQ(store.FileName, "previous.txt");
    EXPECT_EQ(editor, "before");
    EXPECT_TRUE(dialogs.messageBoxCalls.empty());
    ASSERT_EQ(dialogs.openFileCalls.size(), 1u);
    EXPECT_EQ(dialogs.openFileCalls[0].filter, "Text files|*.txt|All files|*.*");
    EXPECT_EQ(dialogs.openFileCalls[0].defaultExtension, "txt");
}

struct ReadCase {
    std::string name; // relative to the temporary folder
    std::string content;
    std::vector<std::string> items;
    std::string editor;
    std::string fileName;
};

TEST(SelectEventFileTest, ReadsItemsIntoFileLinesAndEditor) {
    const std::vector<ReadCase> cases{
        {"run_1_dir/Events_30_x.txt",
         "12\r\n1  5.0,x\r\n",
         {"12", "1  5.0", "x"},
         "12\r\n1  5.0\r\nx\r\n",
         "Events_30_x.txt"},
        {"cr_only.txt", "a\rb\r\rc", {"a", "b", "", "c"}, "a\r\nb\r\n\r\nc\r\n", "cr_only.txt"},
        {"run\\Events_45_b.txt", "7\n", {"7"}, "7\r\n", "Events_45_b.txt"},
        {"empty.txt", "", {}, "", "empty.txt"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        test::ScriptedDialogs dialogs;
        dialogs.files.push_back(dir.write(c.name, c.content));
        EventStore store;
        store.FileLines.append("stale");
        std::string editor = "stale";

        EXPECT_TRUE(SelectEventFile(dialogs, store, editor));
        EXPECT_EQ(linesOf(store), c.items);
        EXPECT_EQ(editor, c.editor);
        EXPECT_EQ(store.FileName, c.fileName);
        EXPECT_TRUE(dialogs.messageBoxCalls.empty());
    }
}

TEST(SelectEventFileTest, UnopenableFileShowsTheMessage) {
    TempDir dir;
    const std::string locked = dir.write("locked.txt", "1\n");
    fs::permissions(locked, fs::perms::none);
    struct Case {
        const char* what;
        std::string path;
    };
    std::vector<Case> cases{{"missing", dir.path() + "/missing.txt"}, {"folder", dir.path()}};
    // Root reads a file whatever its permissions say.
    if (::geteuid() != 0)
        cases.push_back({"no permission", locked});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedDialogs dialogs;
        dialogs.files.push_back(c.path);
        EventStore store;
        store.FileLines.append("kept");
        std::string editor = "kept";

        EXPECT_FALSE(SelectEventFile(dialogs, store, editor));
        ASSERT_EQ(dialogs.messageBoxCalls.size(), 1u);
        EXPECT_EQ(dialogs.messageBoxCalls[0].text, "Unkown error while opening file " + c.path);
        EXPECT_EQ(dialogs.messageBoxCalls[0].title, "Kestavian");
        EXPECT_EQ(store.FileName, "");
        EXPECT_EQ(linesOf(store), std::vector<std::string>{"kept"});
        EXPECT_EQ(editor, "kept");
    }
}

TEST(SelectEventFileTest, AtMostThirtyTwoThousandSevenHundredSixtySevenItems) {
    TempDir dir;
    for (const int items : {32767, 32768}) {
        SCOPED_TRACE(items);
        std::string content;
        for (int i = 0; i < items; ++i)
            content += "1\n";
        const std::string path = dir.write("big_" + std::to_string(items) + ".txt", content);
        test::ScriptedDialogs dialogs;
        dialogs.files.push_back(path);
        EventStore store;
        std::string editor;

        const bool read = SelectEventFile(dialogs, store, editor);
        EXPECT_EQ(read, items == 32767);
        EXPECT_EQ(store.FileLines.size(), 32767);
        EXPECT_EQ(dialogs.messageBoxCalls.size(), read ? 0u : 1u);
        EXPECT_EQ(store.FileName, read ? fs::path(path).filename().string() : "");
        // The item that overflows the count was already echoed.
        EXPECT_EQ(editor.size(), 3u * static_cast<std::size_t>(items));
        EXPECT_TRUE(editor.ends_with("1\r\n"));
    }
}

} // namespace
} // namespace kestavian
