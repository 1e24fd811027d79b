#include "window/frm_main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

#include "drawing/bridge_drawing.h"
#include "drawing/scene_drawing.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"
#include "window/picture_box.h"

namespace kestavian {

namespace {

// The labels on the picture, as the scene drawing writes them.
class LabelCaptions : public SceneLabels {
public:
    LabelCaptions(QLabel* time, QLabel* distance) : time_(time), distance_(distance) {}
    void setTimeCaption(const std::string& text) override {
        time_->setText(QString::fromStdString(text));
    }
    void setDistanceCaption(const std::string& text) override {
        distance_->setText(QString::fromStdString(text));
    }

private:
    QLabel* time_;
    QLabel* distance_;
};

// The scrubber on the window's scroll bar: each value set raises the bar's change notification
// when it changes the value, as the user's moves do.
class ScrollBarScrubber : public Scrubber {
public:
    explicit ScrollBarScrubber(QScrollBar* bar) : bar_(bar) {}
    void setMinimum(std::int16_t value) override { bar_->setMinimum(value); }
    void setLargeChange(std::int16_t value) override { bar_->setPageStep(value); }
    void setSmallChange(std::int16_t value) override { bar_->setSingleStep(value); }
    void setValue(std::int16_t value) override { bar_->setValue(value); }
    std::int16_t value() const override { return toInt16(bar_->value()); }
    std::int16_t minimum() const override { return toInt16(bar_->minimum()); }

protected:
    void applyMaximum(std::int16_t value) override { bar_->setMaximum(value); }

private:
    QScrollBar* bar_;
};

// Repaints the picture when a drawing procedure ends, however it ends: what was drawn before an
// error stays and must be shown.
class RepaintWhenDone {
public:
    explicit RepaintWhenDone(QWidget* picture) : picture_(picture) {}
    ~RepaintWhenDone() { picture_->update(); }
    RepaintWhenDone(const RepaintWhenDone&) = delete;
    RepaintWhenDone& operator=(const RepaintWhenDone&) = delete;

private:
    QWidget* picture_;
};

} // namespace

// ---- Playback ----------------------------------------------------------------------------

void frmMain::scrSpeed_Change() {
    Timer1->setInterval(mul16(toInt16(scrSpeed->value()), 10));
}

void frmMain::Timer1_Timer() {
    const std::int16_t v = toInt16(scrTrucks->value());
    const std::int16_t m = toInt16(scrTrucks->maximum());
    const std::int16_t s = toInt16(scrTrucks->singleStep());
    if (v < sub16(m, s) && Animate && FileLoaded)
        scrTrucks->setValue(add16(v, s));
}

void frmMain::scrTrucks_Change() {
    try {
        drawScene(selectedEffect(), CritPos);
        return;
    } catch (const RuntimeError&) {
    }
    // The picked pair cannot be drawn: show event 1, effect 1. When even that cannot be drawn
    // (nothing opened yet), the picture and labels stay as they were.
    const ImageSurface pictureBefore = GA->surface();
    const QString timeBefore = lblTime->text();
    const QString distanceBefore = lblDistance->text();
    const TruckData firstBefore = FirstTruckOn;
    try {
        drawScene(store.Events.at(1).Effects.at(1), CritPos);
    } catch (const RuntimeError&) {
        GA->surface() = pictureBefore;
        lblTime->setText(timeBefore);
        lblDistance->setText(distanceBefore);
        FirstTruckOn = firstBefore;
        GA->update();
    }
}

// ---- Selection and display ------------------------------------------------------------------

const EffectData& frmMain::selectedEffect() const {
    const EventData& event = store.Events.at(long{cmbEvent->currentIndex()} + 1);
    const std::int32_t effectNo = textToInt32(cmbEffect->currentText().toStdString());
    return event.Effects.at(effectNo);
}

void frmMain::cmbEvent_Click() {
    skipOnError([&] { showEffect(selectedEffect()); });
    followInStatistics();
}

void frmMain::cmbEffect_Click() {
    skipOnError([&] { showEffect(selectedEffect()); });
    followInStatistics();
}

void frmMain::appendToTxtOut(const std::string& line) {
    txtOutText += line;
    txtOutText += "\r\n";
    QTextCursor cursor(txtOut->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(line) + '\n');
    // The newest lines in sight.
    txtOut->verticalScrollBar()->setValue(txtOut->verticalScrollBar()->maximum());
}

void frmMain::showEffect(const EffectData& effect) {
    const RepaintWhenDone repaint(GA);
    ++effectsShown_;
    LabelCaptions labels(lblTime, lblDistance);
    ScrollBarScrubber scrubber(scrTrucks);
    ShowEvent(view, Scene{GA->surface(), labels, FirstTruckOn}, effect, CritPos, scrubber,
              [this](const std::string& line) { appendToTxtOut(line); });
}

void frmMain::drawScene(const EffectData& effect, bool critPos) {
    const RepaintWhenDone repaint(GA);
    LabelCaptions labels(lblTime, lblDistance);
    DrawSceneAtTime(view, Scene{GA->surface(), labels, FirstTruckOn}, effect, critPos,
                    toInt16(scrTrucks->value()));
}

void frmMain::showEmptySpan() {
    const RepaintWhenDone repaint(GA);
    lblTime->setText("");
    lblDistance->setText("");
    GA->surface().Cls();
    DrawBridge(view, GA->surface());
}

// What the command line asks for, as the user would pick it once the file is open.
void frmMain::makeStartPicks(const StartPicks& picks) {
    if (picks.critical) {
        chkAnimate->setChecked(false);
        chkCritPos->setChecked(true);
    }
    if (picks.eventNo) {
        const QString number = QString::number(*picks.eventNo);
        std::vector<std::string> positions;
        for (int i = 0; i < cmbEvent->count(); ++i)
            if (cmbEvent->itemText(i) == number)
                positions.push_back(std::to_string(i + 1));
        if (positions.size() != 1) {
            std::string listed;
            for (std::size_t i = 0; i < positions.size(); ++i)
                listed += (i == 0 ? "" : i + 1 == positions.size() ? " and " : ", ") + positions[i];
            dialogs_->messageBox(
                positions.empty()
                    ? store.FileName + " holds no event numbered " + number.toStdString() + "."
                    : std::to_string(positions.size()) + " events of " + store.FileName +
                          " are numbered " + number.toStdString() + ", at places " + listed +
                          " of the event list: pick one there.",
                AppTitle);
            return;
        }
        run([&] { pickByText(cmbEvent, number.toStdString()); });
    }
    if (picks.effectNo) {
        if (cmbEffect->findText(QString::number(*picks.effectNo)) < 0)
            dialogs_->messageBox("The effect list has no effect " +
                                     std::to_string(*picks.effectNo) +
                                     ": is \"No. of load effects\" right?",
                                 AppTitle);
        else
            run([&] { pickByText(cmbEffect, std::to_string(*picks.effectNo)); });
    }
}

// ---- View options ---------------------------------------------------------------------------

void frmMain::chkAnimate_Click() {
    Animate = chkAnimate->isChecked();
    if (Animate) {
        chkCritPos->setChecked(false);
        CritPos = false;
        chkCritPos->setEnabled(false);
    } else {
        chkCritPos->setEnabled(true);
    }
}

void frmMain::chkCritPos_Click() {
    CritPos = chkCritPos->isChecked();
    scrTrucks_Change();
}

void frmMain::chkFlip_Click() {
    view.FlipDatum = chkFlip->isChecked();
    scrTrucks_Change();
}

void frmMain::optDriveSide_Click(std::int16_t index) {
    view.DriveRight = index != 0;
    skipOnError([&] { drawScene(selectedEffect(), CritPos); });
}

void frmMain::optDatum_Click(std::int16_t index) {
    view.DatumRHS = index == 0;
    skipOnError([&] {
        showEffect(selectedEffect());
        drawScene(selectedEffect(), CritPos);
    });
}

void frmMain::txtNoEffects_Change() {
    const std::string text = txtNoEffects->text().toStdString();
    if (!isNumeric(text))
        return;
    // A number that does not fit leaves the setting as it was.
    skipOnError([&] { view.NoEffects = textToInt16(text); });
}

} // namespace kestavian
