#include <QCheckBox>
#include <QPushButton>
#include <filesystem>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Selection = WindowTest;

TEST_F(Selection, EventsArePickedByListPositionAndKeepTheOtherPick) {
    open(writeFile("Events_30_three.txt", threeEventFile()));
    ASSERT_EQ(state().store.NoEvents, 3);
    auto lastTimeOn = [&] {
        const auto listed = lines();
        return *std::find_if(listed.rbegin(), listed.rend(),
                             [](const std::string& l) { return l.rfind("Time On: ", 0) == 0; });
    };
    EXPECT_EQ(timeOnLines(), 1);
    EXPECT_EQ(lastTimeOn(), "Time On: 0.8");

    pick(ui().cmbEffect, 1); // effect 2 of event 17
    EXPECT_EQ(lastTimeOn(), "Time On: 1.8");
    pick(ui().cmbEvent, 2); // event 25, still effect 2
    EXPECT_EQ(ui().cmbEffect->currentText(), "2");
    EXPECT_EQ(lastTimeOn(), "Time On: 21.8");
    pick(ui().cmbEvent, 1); // event 18
    EXPECT_EQ(lastTimeOn(), "Time On: 11.8");
    pick(ui().cmbEvent, 1); // the same pick again shows the block again
    EXPECT_EQ(timeOnLines(), 5);
    EXPECT_EQ(lastTimeOn(), "Time On: 11.8");

    const std::string lines = state().txtOutText;
    pick(ui().cmbEffect, 2); // no trucks: nothing to list
    EXPECT_EQ(state().txtOutText, lines);
}

// The picture goes to Span_<span>_Ev_<list position>_Ef_<effect text>.bmp in the program folder.
TEST_F(Selection, SaveWritesThePictureUnderANameFromSpanAndPicks) {
    const auto save = [&](const std::string& name) {
        ui().cmdSave->click();
        EXPECT_EQ(rgb32(QImage(QString::fromStdString(path(name)), "BMP")),
                  rgb32(ui().GA->surface().Image()))
            << name;
    };
    save("Span_20_Ev_0_Ef_.bmp"); // before any Open

    open(writeFile("Events_45_three.txt", threeEventFile()));
    pick(ui().cmbEvent, 2);
    pick(ui().cmbEffect, 1);
    save("Span_45_Ev_3_Ef_2.bmp");

    open(writeFile("Events_32.5_three.txt", threeEventFile()));
    {
        const LocaleForTest comma(QLocale::German);
        save("Span_32,5_Ev_1_Ef_1.bmp");
    }
    save("Span_32.5_Ev_1_Ef_1.bmp");
    const QImage first = picture();
    ui().chkFlip->click();
    ASSERT_NE(picture(), first);
    save("Span_32.5_Ev_1_Ef_1.bmp"); // the later picture replaces the first

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path().toStdString()))
        if (entry.path().extension() == ".bmp")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Span_20_Ev_0_Ef_.bmp", "Span_32,5_Ev_1_Ef_1.bmp",
                                        "Span_32.5_Ev_1_Ef_1.bmp", "Span_45_Ev_3_Ef_2.bmp"}));
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());

    // A folder that cannot be written: a message naming the file, the picture as it was.
    const std::string blocker = writeFile("not_a_folder", "x");
    window->setPictureFolder(QString::fromStdString(blocker));
    const QImage before = picture();
    ui().cmdSave->click();
    ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
    EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
    EXPECT_NE(dialogs->messageBoxCalls[0].text.find(blocker + "/Span_32.5_Ev_1_Ef_1.bmp"),
              std::string::npos)
        << dialogs->messageBoxCalls[0].text;
    EXPECT_EQ(ui().GA->surface().Image(), before);
}

} // namespace
} // namespace kestavian::test
