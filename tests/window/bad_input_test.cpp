#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "data/item_reader.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using namespace std::string_literals;

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// Events 1..n of a header and three effects without trucks.
std::string eventsWithoutTrucks(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += std::to_string(i) + "\n" + effectLine(1, 1, 100, 1, 0) +
                effectLine(2, 1, 100, 1, 0) + effectLine(3, 1, 100, 1, 0);
    return text;
}

// 32,767 lines: 8,190 events of four lines and one of seven.
std::string fullFile() {
    std::string text = eventsWithoutTrucks(8190) + "8191\n";
    for (int effect = 1; effect <= 3; ++effect)
        text += effectLine(effect, 1, 100, 1, 1) + truckLine(0, 200, 120, 3, 1);
    return text;
}

// Files cut short, corrupted or not event files at all, opened after the worked example. Either
// the file is refused with the one message and the window keeps the worked example, or whatever
// of it parses replaces the store. Nothing crashes or hangs.
class BadInput : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show(); // so the text boxes lay out what they are given as on a screen
    }
};

TEST_F(BadInput, EachFileIsRefusedOrReadForWhatParses) {
    std::filesystem::create_directory(path("a_folder.txt"));
    const std::string removed = writeFile("E_20_gone.txt", "12\n");
    std::filesystem::remove(removed); // gone by the time the dialog's answer is read
    ASSERT_EQ(::mkfifo(path("pipe.txt").c_str(), 0600), 0);
    std::ofstream(path("E_20_huge.txt")).close(); // sparse: a gigabyte with nothing on disk
    std::filesystem::resize_file(path("E_20_huge.txt"), std::uintmax_t{1} << 30);

    std::mt19937 generator(20240611); // the standard fixes its output: the same bytes every run
    std::string randomBytes;
    for (int i = 0; i < 4096; ++i)
        randomBytes += static_cast<char>(generator() & 0xFF);
    std::vector<std::string> upTo8191;
    for (int i = 1; i <= 8191; ++i)
        upTo8191.push_back(std::to_string(i));
    const std::string good = workedExampleText();
    const std::string effects = eventsWithoutTrucks(1).substr(2);
    struct Case {
        std::string file; // a path when there is no content
        std::optional<std::string> content;
        bool refused;
        long items; // FileLines after the Open
        std::vector<std::string> events;
        std::string stop = {}; // how the message of a stopped reading starts; empty: no message
    };
    const std::vector<Case> cases{
        {"E_20_random.txt",
         randomBytes,
         false,
         long(splitItems(randomBytes).size()),
         {},
         "stopped at line 1: EventNo (columns 1-6)"},
        // A NUL after column 77 is ignored like any trailing character; in a field it ends it.
        {"E_20_nul.txt", replaceAll(good, "0000000000\n", "0000000000\0x\n"s), false, 7, {"12"}},
        {"E_20_nul.txt", "1\0"s + good.substr(1), false, 7, {}, "stopped at line 1: EventNo"},
        // Columns 1-6 are the event number, the rest is ignored; no effect follows.
        {"E_20_long.txt", "777777" + std::string(10 << 20, '0'), false, 1, {"777777"}},
        // Every comma ends an (empty) item: the 32,768th one is too many.
        {"E_20_commas.txt", std::string(100'000, ',') + "\n", true, 32767, {}},
        {"E_20_full.txt", fullFile(), false, 32767, upTo8191},
        {"E_20_over.txt", fullFile() + "8192\n", true, 32767, {}},
        {"E_20_cr.txt", replaceAll(good, "\n", "\r"), false, 7, {"12"}},
        {"E_20_nine.txt",
         "123456789\n" + effects + "-12345678\n" + effects,
         false,
         8,
         {"123456", "-12345"}}, // columns 1-6 count
        {path("a_folder.txt"), std::nullopt, true, 0, {}},
        {removed, std::nullopt, true, 0, {}},
        {path("pipe.txt"), std::nullopt, true, 0, {}}, // a stream would wait for a writer
        {"/dev/zero", std::nullopt, true, 0, {}},
        {path("E_20_huge.txt"), std::nullopt, true, 0, {}}, // refused before it is read
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.file);
        const std::string filePath = row.content ? writeFile(row.file, *row.content) : row.file;
        open(workedExample("Events_20_good.txt"));
        const std::string txtOut = state().txtOutText;
        dialogs->messageBoxCalls.clear();
        open(filePath);
        EXPECT_EQ(state().store.FileLines.size(), row.items);
        ASSERT_EQ(dialogs->messageBoxCalls.size(), row.refused || !row.stop.empty() ? 1u : 0u);
        if (row.refused) {
            EXPECT_EQ(dialogs->messageBoxCalls[0].text,
                      "Unkown error while opening file " + filePath);
            EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
            EXPECT_EQ(state().store.FileName, "");
            EXPECT_EQ(state().store.Events.at(1).EffectCount, 3);
            EXPECT_EQ(itemsOf(ui().cmbEvent), std::vector<std::string>{"12"});
            EXPECT_EQ(ui().cmbEffect->currentText(), "1");
            EXPECT_EQ(state().txtOutText, txtOut);
            continue;
        }
        EXPECT_EQ(dialogs->messageBoxCalls.empty()
                      ? ""
                      : dialogs->messageBoxCalls[0].text.substr(0, row.stop.size()),
                  row.stop);
        EXPECT_EQ(state().store.FileName, row.file);
        EXPECT_EQ(itemsOf(ui().cmbEvent), row.events);
        // An item a line, NUL bytes included (a quoted item may hold line breaks of its own).
        if (row.content->find('"') == std::string::npos) {
            EXPECT_EQ(ui().Editor->document()->blockCount(), row.items + 1);
        }
        EXPECT_EQ(ui().Editor->toPlainText().contains(QChar(0)),
                  row.content->find('\0') != std::string::npos);
    }
}

// An event whose first effect has the given truck line; effects 2 and 3 have none.
std::string oneTruckFile(const std::string& truck) {
    return "1\n" + effectLine(1, 100, 100, 5, 1) + truck.substr(0, 77) + "\n" +
           effectLine(2, 1, 100, 1, 0) + effectLine(3, 1, 100, 1, 0);
}

// Every field at its widest: nines, or a minus sign and nines in each field wider than one column.
std::string widestTruckLine(bool negative) {
    std::string line;
    for (const int width : {4, 2, 2, 2, 2, 2, 2, 2, 3, 4, 3, 1, 1, 1, 3, 3,
                            2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3})
        line += negative && width > 1 ? "-" + std::string(width - 1, '9') : std::string(width, '9');
    return line;
}

// Trucks at the limits of their fields are parsed, listed and drawn as far as their numbers allow;
// what cannot be computed is skipped the way every failing step is. A truck standing still has no
// time-off, and under "RHS" a direction-2 one has no time-on: the Open lists nothing.
TEST_F(BadInput, TruckLinesAtTheLimitsOfTheirFields) {
    struct Case {
        std::string truck;
        bool mixed;
        int speed, spacing8;
        std::size_t timingLines; // listed by the Open
        int max;                 // of the scrubber after the Open; -1: not checked
        const char* position;    // lblDistance after the first tick; nullptr: nothing drawn
    };
    const Case cases[] = {
        // Year 99 puts the scene's start past a 32-bit number of seconds.
        {widestTruckLine(false), false, 999, 99, 4, -1, "Position:  96.903"},
        // Speed -99: time-off precedes time-on, so the scrubber gets no range.
        {widestTruckLine(true), false, -99, -9, 4, 0, nullptr},
        {truckLine(0, 200, 120, 9, 2, 99), false, 200, 99, 4, 300, "Position:  39.6"},
        {truckLine(5, 0, 120, 3, 1), false, 0, 0, 0, 1000, "Position:  0"},
        {truckLine(5, 0, 120, 3, 1), true, 0, 0, 0, 1000, "Position:  0"},
        {truckLine(5, 0, 120, 3, 2), false, 0, 0, 0, 1000, nullptr},
        {truckLine(5, 0, 120, 3, 2), true, 0, 0, 0, 1000, "Position:  20"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.truck + (row.mixed ? " Mixed" : " RHS"));
        restart();
        ui().optDatum[row.mixed ? 1 : 0]->click();
        open(writeFile("Events_20_limits.txt", oneTruckFile(row.truck)));
        const TruckData& truck = state().store.Events.at(1).Effects.at(1).Trucks.at(1);
        EXPECT_EQ(truck.Data(Speed), row.speed);
        EXPECT_EQ(truck.Data(AxleSpacing(8)), row.spacing8);
        EXPECT_EQ(lines().size(), row.timingLines);
        if (row.max >= 0) {
            EXPECT_EQ(ui().scrTrucks->maximum(), row.max);
        }
        const QImage afterOpen = picture();
        tick();
        EXPECT_EQ(ui().lblDistance->text().toStdString(), row.position ? row.position : "");
        if (row.position == nullptr) {
            EXPECT_EQ(ui().lblTime->text(), "");
            EXPECT_EQ(ui().GA->surface().Image(), afterOpen);
        }
        ui().chkFlip->click();
        ui().optDriveSide[0]->click();
        ui().optDatum[row.mixed ? 0 : 1]->click();
        for (int i = 0; i < 10; ++i)
            tick();
    }
}

// As root the permission bits do not stop a read, so the case cannot be made there.
TEST_F(BadInput, FileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission can still be read";
    const std::string locked = writeFile("Events_20_locked.txt", workedExampleText());
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    open(locked);
    ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
    EXPECT_EQ(dialogs->messageBoxCalls[0].text, "Unkown error while opening file " + locked);
}

} // namespace
} // namespace kestavian::test
