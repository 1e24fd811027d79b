#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <filesystem>

#include "window/picture_box.h"
#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

class Selection : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        open(writeFile("Events_30_three.txt", threeEventFile()));
    }
    // A pick made by the user in a list.
    void pick(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    long timeOnLines() const {
        const auto lines = linesOf(window->txtOutText());
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("Time On: ", 0) == 0; });
    }
    std::string lastTimeOn() const {
        const auto lines = linesOf(window->txtOutText());
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->rfind("Time On: ", 0) == 0)
                return *it;
        return "";
    }
};

TEST_F(Selection, EventsArePickedByListPositionAndKeepTheOtherPick) {
    ASSERT_EQ(window->store.NoEvents, 3);
    EXPECT_EQ(timeOnLines(), 1);
    EXPECT_EQ(lastTimeOn(), "Time On: 0.8");

    pick(window->cmbEffect, 1); // effect 2 of event 17
    EXPECT_EQ(lastTimeOn(), "Time On: 1.8");
    pick(window->cmbEvent, 2); // event 25, still effect 2
    EXPECT_EQ(window->cmbEffect->currentText(), "2");
    EXPECT_EQ(lastTimeOn(), "Time On: 21.8");
    pick(window->cmbEvent, 1); // event 18
    EXPECT_EQ(lastTimeOn(), "Time On: 11.8");
    pick(window->cmbEvent, 1); // the same pick again shows the block again
    EXPECT_EQ(timeOnLines(), 5);
    EXPECT_EQ(lastTimeOn(), "Time On: 11.8");
}

TEST_F(Selection, AnEffectWithoutTrucksDrawsSpanAndCaptionAndListsNothing) {
    const std::string before = window->txtOutText();
    pick(window->cmbEffect, 2);
    EXPECT_EQ(window->txtOutText(), before);
}

TEST_F(Selection, AnEffectPickWithoutAnEventPickDoesNothing) {
    open(writeFile("Events_30_empty.txt", ""));
    const QImage picture = window->GA->surface().Image().copy();
    const std::string lines = window->txtOutText();
    ASSERT_EQ(window->cmbEvent->currentIndex(), -1);
    pick(window->cmbEffect, 1);
    EXPECT_EQ(window->txtOutText(), lines);
    EXPECT_EQ(window->GA->surface().Image(), picture);
}

class Save : public WindowTest {
protected:
    QImage saved(const std::string& name) const {
        EXPECT_TRUE(std::filesystem::exists(path(name))) << name;
        return QImage(QString::fromStdString(path(name)), "BMP");
    }
    std::vector<std::string> bmpFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path().toStdString()))
            if (entry.path().extension() == ".bmp")
                names.push_back(entry.path().filename().string());
        return names;
    }
    static bool samePixels(const QImage& a, const QImage& b) {
        return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(Save, BeforeAnyOpenTheStartUpPictureIsSavedUnderSpanTwenty) {
    window->cmdSave->click();
    EXPECT_EQ(bmpFiles(), std::vector<std::string>{"Span_20_Ev_0_Ef_.bmp"});
    EXPECT_TRUE(samePixels(saved("Span_20_Ev_0_Ef_.bmp"), window->GA->surface().Image()));
    EXPECT_TRUE(dialogs->messageBoxCalls.empty());
}

TEST_F(Save, NameCarriesSpanListPositionAndEffectText) {
    open(writeFile("Events_45_three.txt", threeEventFile()));
    window->cmbEvent->setCurrentIndex(2);
    emit window->cmbEvent->activated(2);
    window->cmbEffect->setCurrentIndex(1);
    emit window->cmbEffect->activated(1);
    window->cmdSave->click();
    EXPECT_TRUE(samePixels(saved("Span_45_Ev_3_Ef_2.bmp"), window->GA->surface().Image()));

    open(writeFile("Events_32.5_three.txt", threeEventFile()));
    window->cmdSave->click();
    EXPECT_TRUE(samePixels(saved("Span_32.5_Ev_1_Ef_1.bmp"), window->GA->surface().Image()));
}

TEST_F(Save, SavingTwiceKeepsOneFileWithTheLaterPicture) {
    open(writeFile("Events_30_three.txt", threeEventFile()));
    window->cmdSave->click();
    const QImage first = saved("Span_30_Ev_1_Ef_1.bmp");
    window->chkFlip->click();
    window->cmdSave->click();
    EXPECT_EQ(bmpFiles().size(), 1u);
    const QImage second = saved("Span_30_Ev_1_Ef_1.bmp");
    EXPECT_FALSE(samePixels(first, second));
    EXPECT_TRUE(samePixels(second, window->GA->surface().Image()));
}

TEST_F(Save, AFolderThatCannotBeWrittenGivesAMessageNamingTheFile) {
    const std::string blocker = writeFile("not_a_folder", "x");
    window->setProgramFolder(QString::fromStdString(blocker));
    const QImage picture = window->GA->surface().Image().copy();
    window->cmdSave->click();
    ASSERT_EQ(dialogs->messageBoxCalls.size(), 1u);
    EXPECT_EQ(dialogs->messageBoxCalls[0].title, "Kestavian");
    EXPECT_NE(dialogs->messageBoxCalls[0].text.find(blocker + "/Span_20_Ev_0_Ef_.bmp"),
              std::string::npos)
        << dialogs->messageBoxCalls[0].text;
    EXPECT_EQ(window->GA->surface().Image(), picture);
}

} // namespace
} // namespace kestavian::test
