#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

#include "window/window_fixture.h"

namespace kestavian::test {
namespace {

using Startup = WindowTest;

// Form_Load's settings, the controls' start-up states, and the two text boxes: the file's takes
// typing, the diagnostics box is the program's.
TEST_F(Startup, SettingsAndControlsAreAsAtLoad) {
    const FormControls& w = ui();
    EXPECT_EQ(window->windowTitle(), "Event Visualization");
    EXPECT_FALSE(window->windowIcon().isNull());
    std::string bits;
    for (const bool on :
         {state().view.DriveRight, state().view.DatumRHS, state().FileLoaded, state().Animate,
          state().CritPos, state().view.FlipDatum, w.chkAnimate->isChecked(),
          w.chkCritPos->isChecked(), w.chkCritPos->isEnabled(), w.chkFlip->isChecked(),
          w.optDatum[0]->isChecked(), w.optDriveSide[1]->isChecked(), w.Timer1->isActive(),
          w.Editor->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn,
          w.txtOut->wordWrapMode() == QTextOption::WrapAnywhere, w.txtNoEffects->acceptDrops(),
          w.Label3->textFormat() == Qt::PlainText})
        bits += on ? '1' : '0';
    EXPECT_EQ(bits, "11010010001111101"); // one bit a setting, in the order listed
    EXPECT_EQ(std::pair(window->font().pointSizeF(), window->font().stretch()),
              std::pair(8.0, int(QFont::SemiCondensed))); // a compact face for the captions
    EXPECT_EQ(
        (std::vector<QString>{w.lblTime->text(), w.lblDistance->text(), w.txtNoEffects->text()}),
        (std::vector<QString>{"", "", "3"}));
    EXPECT_EQ(w.lblTime->grab().toImage().pixel(1, 1), qRgb(255, 255, 255)); // filled white
    // Speed bar, tick interval, scrubber, the event list.
    EXPECT_EQ((std::vector<int>{w.scrSpeed->minimum(), w.scrSpeed->maximum(), w.scrSpeed->value(),
                                w.Timer1->interval(), w.scrTrucks->maximum(),
                                w.scrTrucks->pageStep(), w.cmbEvent->currentIndex()}),
              (std::vector<int>{1, 100, 25, 250, 1000, 50, -1}));
    for (QPlainTextEdit* box : {w.Editor, w.txtOut}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(box, &key);
    }
    EXPECT_EQ(w.Editor->toPlainText() + "|" + w.txtOut->toPlainText(), "x|");
    // The focus moves in the order of the form's tab column, from the file's box.
    QStringList chain;
    for (QWidget* at = w.Editor->nextInFocusChain(); at != w.Editor; at = at->nextInFocusChain())
        if (at->focusPolicy() & Qt::TabFocus)
            chain << at->objectName();
    EXPECT_EQ(chain.join(' '), "cmdOpen cmdSave optDriveSide(1) optDriveSide(0) cmbEffect cmbEvent "
                               "scrTrucks scrSpeed chkAnimate chkCritPos txtNoEffects optDatum(1) "
                               "optDatum(0) txtOut chkFlip");
    // Places worked out by hand from the twips (15 to a pixel), kept when the window is resized.
    window->resize(1000, 900);
    EXPECT_EQ(w.GA->geometry(), QRect(16, 16, 641, 167));
    EXPECT_EQ(w.optDatum[1]->geometry(), QRect(64, 16, 49, 25));
    EXPECT_EQ(w.txtOut->geometry(), QRect(472, 376, 185, 233));
    // Every control's place, container and caption, against the list accepted when the form was
    // laid out (the three above by hand); KESTAVIAN_UPDATE_GOLDEN=1 writes this run's list over it.
    QStringList places;
    for (QWidget* control : window->findChildren<QWidget*>())
        if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_")) {
            const QRect r = control->geometry();
            QString caption;
            if (auto* label = qobject_cast<QLabel*>(control))
                caption = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                caption = button->text();
            else if (auto* frame = qobject_cast<QGroupBox*>(control))
                caption = frame->title();
            places << (control->parentWidget()->objectName() + "/" + control->objectName() +
                       QString::asprintf(" %d %d %d %d ", r.x(), r.y(), r.width(), r.height()) +
                       caption)
                          .trimmed();
        }
    places.sort();
    QFile golden(KESTAVIAN_FIXTURES "/golden/form_places.txt");
    if (qEnvironmentVariableIntValue("KESTAVIAN_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
        golden.write((places.join('\n') + '\n').toLatin1());
    } else {
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
        EXPECT_EQ(places.join('\n') + '\n', QString::fromLatin1(golden.readAll()));
    }
    EXPECT_EQ(w.Label3->alignment(), Qt::AlignLeft | Qt::AlignTop); // as the form's labels draw

    // Before a file is opened the picture is the empty span; options record their settings and
    // nothing a tick, the scrubber or an option does redraws it.
    const QImage before = picture();
    EXPECT_EQ(before.pixelColor(320, 90), ImageSurface::toQColor(SystemButtonFace)); // the deck
    tick();
    w.scrTrucks->setValue(40);
    for (QAbstractButton* option :
         std::initializer_list<QAbstractButton*>{w.chkFlip, w.optDriveSide[0], w.optDatum[1]})
        option->click();
    EXPECT_FALSE(state().view.DriveRight || state().view.DatumRHS || !state().view.FlipDatum);
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(w.lblTime->text() + QString::fromStdString(state().txtOutText), "");
}

} // namespace
} // namespace kestavian::test
