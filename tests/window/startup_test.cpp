#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "support/scripted_dialogs.h"
#include "window/control_table.h"
#include "window/frm_main.h"
#include "window/picture_box.h"

namespace kestavian {
namespace {

std::unique_ptr<frmMain> newWindow() {
    return std::make_unique<frmMain>(std::make_unique<test::ScriptedDialogs>());
}

std::string keyOf(const ControlRow& row) {
    return row.index < 0 ? row.name : std::string(row.name) + "(" + std::to_string(row.index) + ")";
}

TEST(Startup, SettingsAndControlsAreAsAtLoad) {
    auto w = newWindow();
    EXPECT_EQ(w->windowTitle(), "Event Visualization");
    EXPECT_EQ(w->size(), QSize(675, 620));

    EXPECT_FLOAT_EQ(w->view.Span, 20.0f);
    EXPECT_EQ(w->view.NoEffects, 3);
    EXPECT_TRUE(w->view.DriveRight);
    EXPECT_TRUE(w->view.DatumRHS);
    EXPECT_FLOAT_EQ(w->HeightRatio, 0.15f);
    EXPECT_FALSE(w->FileLoaded);
    EXPECT_TRUE(w->Animate);
    EXPECT_FALSE(w->CritPos);
    EXPECT_FALSE(w->FlipDatum);

    EXPECT_EQ(w->lblTime->text(), "");
    EXPECT_EQ(w->lblDistance->text(), "");
    EXPECT_EQ(w->txtOut->toPlainText(), "");
    EXPECT_EQ(w->txtOutText(), "");
    EXPECT_EQ(w->Editor->toPlainText(), "");

    EXPECT_EQ(w->scrSpeed->minimum(), 1);
    EXPECT_EQ(w->scrSpeed->maximum(), 100);
    EXPECT_EQ(w->scrSpeed->value(), 25);
    EXPECT_EQ(w->Timer1->interval(), 250);
    EXPECT_TRUE(w->Timer1->isActive());

    EXPECT_EQ(w->scrTrucks->minimum(), 0);
    EXPECT_EQ(w->scrTrucks->maximum(), 1000);
    EXPECT_EQ(w->scrTrucks->pageStep(), 50);
    EXPECT_EQ(w->scrTrucks->singleStep(), 1);
    EXPECT_EQ(w->scrTrucks->value(), 0);

    EXPECT_TRUE(w->chkAnimate->isChecked());
    EXPECT_FALSE(w->chkCritPos->isChecked());
    EXPECT_FALSE(w->chkCritPos->isEnabled());
    EXPECT_FALSE(w->chkFlip->isChecked());
    EXPECT_TRUE(w->chkFlip->isEnabled());
    EXPECT_TRUE(w->optDatum[0]->isChecked());
    EXPECT_FALSE(w->optDatum[1]->isChecked());
    EXPECT_TRUE(w->optDriveSide[1]->isChecked());
    EXPECT_FALSE(w->optDriveSide[0]->isChecked());
    EXPECT_EQ(w->txtNoEffects->text(), "3");
    EXPECT_EQ(w->cmbEvent->count(), 0);
    EXPECT_EQ(w->cmbEvent->currentIndex(), -1);
    EXPECT_EQ(w->cmbEffect->count(), 0);
}

TEST(Startup, EveryControlSitsWhereTheTableSaysAndStaysThereOnResize) {
    auto w = newWindow();
    w->show();
    auto check = [&](const char* when) {
        for (const ControlRow& row : ControlTable) {
            if (row.tab < 0)
                continue;
            QWidget* widget = w->control(keyOf(row));
            ASSERT_NE(widget, nullptr) << keyOf(row);
            EXPECT_EQ(widget->geometry(), pixelRect(row)) << keyOf(row) << " " << when;
            const QWidget* expectedParent =
                row.container[0] == '\0' ? w.get() : w->control(row.container);
            EXPECT_EQ(widget->parentWidget(), expectedParent) << keyOf(row);
        }
    };
    check("at start");
    w->resize(1000, 900);
    QApplication::processEvents();
    check("when larger");
    w->resize(200, 150);
    QApplication::processEvents();
    check("when smaller");

    // A few positions worked out by hand from the twips.
    EXPECT_EQ(w->GA->geometry(), QRect(16, 16, 641, 167));
    EXPECT_EQ(w->cmdOpen->geometry(), QRect(472, 224, 81, 25));
    EXPECT_EQ(w->optDatum[1]->geometry(), QRect(64, 16, 49, 25));
    EXPECT_EQ(w->txtOut->geometry(), QRect(472, 376, 185, 233));
    EXPECT_EQ(w->lblTime->parentWidget(), static_cast<QWidget*>(w->GA));
}

TEST(Startup, FocusStartsInTheEditorAndFollowsTheTabOrder) {
    auto w = newWindow();
    std::vector<QWidget*> order;
    QWidget* widget = w->Editor;
    do {
        if (widget->focusPolicy() & Qt::TabFocus && widget->isEnabled() &&
            (widget == w.get() || w->isAncestorOf(widget)) && !widget->objectName().isEmpty())
            order.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != w->Editor && order.size() < 40);
    ASSERT_GE(order.size(), 6u);
    EXPECT_EQ(order[0], static_cast<QWidget*>(w->Editor));
    EXPECT_EQ(order[1], static_cast<QWidget*>(w->cmdOpen));
    EXPECT_EQ(order[2], static_cast<QWidget*>(w->cmdSave));
    EXPECT_EQ(order[3], static_cast<QWidget*>(w->optDriveSide[1]));
    EXPECT_EQ(order[4], static_cast<QWidget*>(w->optDriveSide[0]));
    EXPECT_EQ(order[5], static_cast<QWidget*>(w->cmbEffect));

    w->show();
    w->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(w->Editor));
}

TEST(Startup, PictureShowsTheEmptySpanAndTicksChangeNothingBeforeAFileIsOpened) {
    auto w = newWindow();
    const QImage before = w->GA->surface().Image().copy();
    // The deck, grey, in the middle of the picture; white above the road.
    const QColor grey = ImageSurface::toQColor(SystemButtonFace);
    EXPECT_EQ(before.pixelColor(320, 90), grey);
    EXPECT_EQ(before.pixelColor(320, 5), QColor(Qt::white));

    for (int i = 0; i < 500; ++i)
        w->Timer1_Timer();
    EXPECT_EQ(w->scrTrucks->value(), 0);
    EXPECT_EQ(w->GA->surface().Image(), before);
    EXPECT_EQ(w->lblTime->text(), "");
    EXPECT_EQ(w->txtOutText(), "");
}

} // namespace
} // namespace kestavian
