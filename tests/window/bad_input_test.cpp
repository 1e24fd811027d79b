#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "data/item_reader.h"
#include "window/picture_box.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using namespace std::string_literals;

// Files that are cut short, corrupted or not event files at all, opened through the Open command
// after a good file. Either the file is refused (the one message, the store, lists, span and
// diagnostics of the good file untouched) or it is read and whatever of it parses replaces the
// store. Nothing crashes, hangs or loses what the window held.
class BadInput : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Shown, so that the text boxes lay out what they are given as they would on a screen.
        window->show();
        open(copyFixture("worked_example.txt", "Events_20_good.txt"));
        ASSERT_EQ(window->store.NoEvents, 1);
    }

    // A new window, for cases that must start from the state after start-up.
    void restart() {
        window.reset();
        WindowTest::SetUp();
        window->show();
    }

    std::vector<std::string> eventList() const {
        std::vector<std::string> items;
        for (int i = 0; i < window->cmbEvent->count(); ++i)
            items.push_back(window->cmbEvent->itemText(i).toStdString());
        return items;
    }

    void expectRefusedKeepingTheGoodFile(const std::string& filePath, const std::string& txtOut) {
        ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
        EXPECT_EQ(dialogs->messageBoxCalls[0].text, "Unkown error while opening file " + filePath);
        EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
        EXPECT_EQ(window->store.FileName, "");
        EXPECT_EQ(window->store.NoEvents, 1);
        EXPECT_EQ(window->store.Events.at(1).EventNo, 12);
        EXPECT_EQ(window->store.Events.at(1).EffectCount, 3);
        EXPECT_EQ(eventList(), std::vector<std::string>{"12"});
        EXPECT_EQ(window->cmbEvent->currentIndex(), 0);
        EXPECT_EQ(window->cmbEffect->currentText(), "1");
        EXPECT_FLOAT_EQ(window->view.Span, 20.0f);
        EXPECT_EQ(window->txtOutText(), txtOut);
        EXPECT_TRUE(window->FileLoaded);
    }
};

std::string workedExample() {
    return "12\n"
           "1    1523.70    23983510.15      7.40    2\n"
           "10010302011405092524504121655110350623609413085620871308400000000000000000000\n"
           "10010302011405106022102881123120400584511513115000000000000000000000000000000\n"
           "2     980.12    23983509.90     12.05    0\n"
           "3     311.45    23983511.02      3.95    1\n"
           "10010302011405106022102881123120400584511513115000000000000000000000000000000\n";
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// Bytes from a fixed-seed generator whose output the standard fixes, so every run sees the same.
std::string randomBytes(std::size_t count) {
    std::mt19937 generator(20240611);
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(generator() & 0xFF);
    return bytes;
}

// n events of a header and three effects without trucks, four lines each.
std::string eventsWithoutTrucks(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        text += std::to_string(i) + "\n";
        for (int effect = 1; effect <= 3; ++effect)
            text += effectLine(effect, 1, 100, 1, 0);
    }
    return text;
}

// 32,767 lines: 8,190 events of four lines and one of seven (each effect with one truck).
std::string fullFile() {
    std::string text = eventsWithoutTrucks(8190) + "8191\n";
    for (int effect = 1; effect <= 3; ++effect)
        text += effectLine(effect, 1, 100, 1, 1) + truckLine(0, 0, 200, 120, 3, 1);
    return text;
}

std::vector<std::string> numbersUpTo(int n) {
    std::vector<std::string> texts;
    for (int i = 1; i <= n; ++i)
        texts.push_back(std::to_string(i));
    return texts;
}

TEST_F(BadInput, EachFileIsRefusedOrReadForWhatParses) {
    std::filesystem::create_directory(path("a_folder.txt"));
    const std::string removed = writeFile("Events_20_removed.txt", workedExample());
    std::filesystem::remove(removed);
    ASSERT_EQ(::mkfifo(path("pipe.txt").c_str(), 0600), 0);
    // Sparse: a gigabyte on paper, nothing on disk.
    std::ofstream(path("Events_20_huge.txt")).close();
    std::filesystem::resize_file(path("Events_20_huge.txt"), std::uintmax_t{1} << 30);

    struct Case {
        const char* what;
        std::string file; // path when no content is given
        std::optional<std::string> content;
        bool refused;
        long items;                      // FileLines after the Open
        std::vector<std::string> events; // the event list after a read
    };
    const std::string noBreak = "777777" + std::string(10 * 1024 * 1024 - 6, '0');
    const std::vector<Case> cases{
        // The first item is not an event number: nothing parses.
        {"random bytes",
         "Events_20_random.txt",
         randomBytes(4096),
         false,
         static_cast<long>(splitItems(randomBytes(4096)).size()),
         {}},
        // A NUL after column 77 is ignored like any other trailing character; one inside a field
        // stops the parse there.
        {"NUL after the last column",
         "Events_20_nul.txt",
         replaceAll(workedExample(), "0000000000\n", "0000000000\0x\n"s),
         false,
         7,
         {"12"}},
        {"NUL inside the event number",
         "Events_20_nul.txt",
         std::string("1\0", 2) + workedExample().substr(1),
         false,
         7,
         {}},
        // One item: columns 1-6 are the event number, the rest is ignored; no effect follows.
        // The editor lays the line out in time linear in its length.
        {"10 MB without a line break", "Events_20_long.txt", noBreak, false, 1, {"777777"}},
        // Every comma ends an (empty) item: the 32,768th one is too many.
        {"a line of 100,000 commas",
         "Events_20_commas.txt",
         std::string(100000, ',') + "\n",
         true,
         32767,
         {}},
        {"exactly 32,767 items", "Events_20_full.txt", fullFile(), false, 32767, numbersUpTo(8191)},
        {"32,768 items", "Events_20_over.txt", fullFile() + "8192\n", true, 32767, {}},
        {"CR-only line ends",
         "Events_20_cr.txt",
         replaceAll(workedExample(), "\n", "\r"),
         false,
         7,
         {"12"}},
        // Only columns 1-6 hold the event number.
        {"an EventNo of 9 digits",
         "Events_20_nine.txt",
         "123456789\n" + eventsWithoutTrucks(1).substr(2) + "-12345678\n" +
             eventsWithoutTrucks(1).substr(2),
         false,
         8,
         {"123456", "-12345"}},
        {"a folder", path("a_folder.txt"), std::nullopt, true, 0, {}},
        // The dialog's answer names a file that is gone by the time it is read.
        {"a file removed after it was chosen", removed, std::nullopt, true, 0, {}},
        // Read as a stream it would wait for a writer for ever.
        {"a named pipe", path("pipe.txt"), std::nullopt, true, 0, {}},
        {"a device without end", "/dev/zero", std::nullopt, true, 0, {}},
        // Far beyond 32,767 lines of any sensible length: refused before it is read.
        {"a file of 1 GB", path("Events_20_huge.txt"), std::nullopt, true, 0, {}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(copyFixture("worked_example.txt", "Events_20_good.txt"));
        const std::string txtOut = window->txtOutText();
        dialogs->messageBoxCalls.clear();

        const std::string filePath = c.content ? writeFile(c.file, *c.content) : c.file;
        open(filePath);

        EXPECT_EQ(window->store.FileLines.size(), c.items);
        if (c.refused) {
            expectRefusedKeepingTheGoodFile(filePath, txtOut);
            continue;
        }
        EXPECT_TRUE(dialogs->messageBoxCalls.empty());
        EXPECT_EQ(window->store.FileName, c.file);
        EXPECT_EQ(eventList(), c.events);
        // Every item is shown on a line of its own, NUL bytes included (a quoted item may hold
        // line breaks of its own).
        if (c.content->find('"') == std::string::npos) {
            EXPECT_EQ(window->Editor->document()->blockCount(), c.items + 1);
        }
        EXPECT_EQ(window->EditorText().find('\0') != std::string::npos,
                  c.content->find('\0') != std::string::npos);
    }
}

// An event whose first effect has the given truck lines; effects 2 and 3 have none.
std::string oneEffectFile(const std::vector<std::string>& trucks) {
    std::string text = "1\n" + effectLine(1, 100, 100, 5, static_cast<int>(trucks.size()));
    for (const std::string& truck : trucks)
        text += truck.substr(0, 77) + "\n";
    return text + effectLine(2, 1, 100, 1, 0) + effectLine(3, 1, 100, 1, 0);
}

// A truck line with every field at its widest: nines, or with negative a minus sign and nines in
// each field wider than one column.
std::string widestTruckLine(bool negative) {
    const int widths[] = {4, 2, 2, 2, 2, 2, 2, 2, 3, 4, 3, 1, 1, 1, 3, 3,
                          2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3, 2, 3};
    std::string line;
    for (const int width : widths)
        line += negative && width > 1 ? "-" + std::string(width - 1, '9') : std::string(width, '9');
    return line;
}

// Trucks at the limits of their fields are parsed, listed and drawn as far as their numbers allow;
// what cannot be computed is skipped the way every failing step is.
TEST_F(BadInput, TruckLinesAtTheLimitsOfTheirFields) {
    struct Case {
        const char* what;
        std::string truck;
        std::int16_t speed, noAxles, spacing8;
        int timingLines; // appended by the Open
        bool sceneDrawn; // by the Open, or at the latest by the first tick
    };
    const std::vector<Case> cases{
        // Year 99 puts the scene's start past a 32-bit number of seconds.
        {"every field at its widest", widestTruckLine(false), 999, 9, 99, 4, false},
        // Speed -99 runs the truck backwards: its time-off precedes its time-on, the scrubber
        // gets a range of 0 and no step, and nothing is drawn.
        {"minus signs", widestTruckLine(true), -99, 9, -9, 4, false},
        {"nine axles 9.9 m apart", truckLine(0, 0, 200, 120, 9, 2, 99), 200, 9, 99, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        open(writeFile("Events_20_limits.txt", oneEffectFile({c.truck})));

        ASSERT_EQ(window->store.NoEvents, 1);
        const EffectData& effect = window->store.Events.at(1).Effects.at(1);
        ASSERT_EQ(effect.NoTrucks, 1);
        const TruckData& truck = effect.Trucks.at(1);
        EXPECT_EQ(truck.Data(Speed), c.speed);
        EXPECT_EQ(truck.Data(NoAxles), c.noAxles);
        EXPECT_EQ(truck.Data(AxleSpacing(8)), c.spacing8);
        EXPECT_EQ(linesOf(window->txtOutText()).size(), static_cast<std::size_t>(c.timingLines));

        window->Timer1_Timer();
        EXPECT_EQ(!window->lblTime->text().isEmpty(), c.sceneDrawn);
        window->chkFlip->click();
        window->optDriveSide[0]->click();
        window->optDatum[1]->click();
        for (int i = 0; i < 10; ++i)
            window->Timer1_Timer();
    }
}

// A truck standing still has no time-off, and under "RHS" a direction-2 one has no time-on: the
// Open lists nothing. The first tick draws the scene wherever time-on exists, the truck where
// its stamp puts it; otherwise the picture stays as it was.
TEST_F(BadInput, SpeedZeroInEachDirectionAndDatum) {
    struct Case {
        int direction;
        bool mixed;
        const char* position; // lblDistance after the first tick; nullptr: nothing drawn
    };
    for (const Case c : {Case{1, false, "Position:  0"}, Case{1, true, "Position:  0"},
                         Case{2, false, nullptr}, Case{2, true, "Position:  20"}}) {
        SCOPED_TRACE(std::to_string(c.direction) + (c.mixed ? " Mixed" : " RHS"));
        restart();
        if (c.mixed)
            window->optDatum[1]->click();
        open(writeFile("Events_20_still.txt",
                       oneEffectFile({truckLine(5, 0, 0, 120, 3, c.direction)})));
        const QImage afterOpen = window->GA->surface().Image().copy();

        EXPECT_EQ(window->store.Events.at(1).Effects.at(1).Trucks.at(1).Data(Speed), 0);
        EXPECT_EQ(window->txtOutText(), "");
        EXPECT_EQ(window->scrTrucks->maximum(), 1000); // as start-up set it
        window->Timer1_Timer();
        if (c.position != nullptr) {
            EXPECT_EQ(window->lblDistance->text().toStdString(), c.position);
        } else {
            EXPECT_EQ(window->lblTime->text(), "");
            EXPECT_EQ(window->lblDistance->text(), "");
            EXPECT_EQ(window->GA->surface().Image(), afterOpen);
        }
        EXPECT_NO_THROW(window->optDatum[c.mixed ? 0 : 1]->click());
        EXPECT_NO_THROW(window->Timer1_Timer());
    }
}

// As root the permission bits do not stop a read, so the case cannot be made there.
TEST_F(BadInput, FileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission can still be read";
    const std::string locked = writeFile("Events_20_locked.txt", workedExample());
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const std::string txtOut = window->txtOutText();
    open(locked);
    expectRefusedKeepingTheGoodFile(locked, txtOut);
}

} // namespace
} // namespace kestavian::test
