#include "window/frm_main.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/event_display.h"
#include "data/mod_input.h"
#include "drawing/bridge_drawing.h"
#include "drawing/picture_file.h"
#include "drawing/scene_drawing.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"
#include "window/control_table.h"
#include "window/picture_box.h"
#include "window/qt_dialogs.h"
#include "window/scroll_bar.h"

namespace kestavian {

namespace {

const char* const AppTitle = "Kestavian";

std::string controlKey(const ControlRow& row) {
    if (row.index < 0)
        return row.name;
    return std::string(row.name) + "(" + std::to_string(row.index) + ")";
}

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

// Handlers that carry on after a failing step.
template <typename Step> void skipOnError(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

} // namespace

// Runs a handler from a notification. Handlers trap what they are meant to trap; anything that
// still arrives here (a runtime error, or even memory running out) must not reach the event loop,
// which cannot recover from an exception: the user's action is then simply abandoned.
template <typename Handler> void frmMain::run(Handler&& handler) {
    ++handlersRunning_;
    try {
        handler();
    } catch (const std::exception&) {
    }
    --handlersRunning_;
}

frmMain::frmMain(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)),
      programFolder_(QCoreApplication::applicationDirPath()) {
    if (!dialogs_)
        dialogs_ = std::make_unique<QtDialogs>(this);
    setWindowTitle("Event Visualization");
    // The controls have fixed sizes, so the captions need a compact face to fit them.
    QFont uiFont = font();
    uiFont.setPointSizeF(8);
    uiFont.setStretch(QFont::SemiCondensed);
    setFont(uiFont);
    resize(twipsToPixels(WindowClientWidthTwips), twipsToPixels(WindowClientHeightTwips));
    createControls();
    applyStartupSettings();
    connectHandlers();
    setTabOrder();
    Form_Load();
    Timer1->start();
    Editor->setFocus();
}

frmMain::~frmMain() = default;

QWidget* frmMain::control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void frmMain::createControls() {
    for (const ControlRow& row : ControlTable) {
        QWidget* container = row.container[0] == '\0' ? this : controls_.at(row.container);
        const QString caption = QString::fromUtf8(row.caption);
        QWidget* widget = nullptr;
        switch (row.kind) {
        case ControlKind::Picture:
            widget = new PictureBox(pixelRect(row).size(), container);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(caption, container);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::HScrollBar: {
            auto* bar = new ScrollBar(Qt::Horizontal, container);
            bar->setFocusPolicy(Qt::StrongFocus);
            bar->setRange(0, 32767);
            widget = bar;
            break;
        }
        case ControlKind::CommandButton:
            widget = new QPushButton(caption, container);
            break;
        case ControlKind::Frame:
            widget = new QGroupBox(caption, container);
            break;
        case ControlKind::OptionButton:
            widget = new QRadioButton(caption, container);
            break;
        case ControlKind::DropDownList:
            widget = new QComboBox(container);
            break;
        case ControlKind::CheckBox:
            widget = new QCheckBox(caption, container);
            break;
        case ControlKind::TextBox:
            widget = new QLineEdit(caption, container);
            break;
        case ControlKind::MultiLineTextBox: {
            auto* box = new QPlainTextEdit(container);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            // Breaking at word boundaries where possible costs time quadratic in the length of a
            // line without any, and a damaged file may be one line of megabytes. The event lines
            // too wide for the box are runs of digits, which break anywhere in either mode.
            box->setWordWrapMode(QTextOption::WrapAnywhere);
            box->setFocusPolicy(Qt::StrongFocus);
            // The user may type in the file's text box (nothing reads it); the diagnostics box
            // is the program's log.
            if (std::string_view(row.name) == "txtOut")
                box->setReadOnly(true);
            widget = box;
            break;
        }
        case ControlKind::Timer:
            Timer1 = new QTimer(this);
            Timer1->setObjectName(row.name);
            continue;
        case ControlKind::FileDialog:
            // The open dialog is made when it is needed, by the dialogs object.
            continue;
        }
        widget->setObjectName(QString::fromStdString(controlKey(row)));
        widget->setGeometry(pixelRect(row));
        controls_[controlKey(row)] = widget;
    }

    auto get = [this](const char* name) { return controls_.at(name); };
    GA = static_cast<PictureBox*>(get("GA"));
    lblDistance = static_cast<QLabel*>(get("lblDistance"));
    lblTime = static_cast<QLabel*>(get("lblTime"));
    scrTrucks = static_cast<QScrollBar*>(get("scrTrucks"));
    cmdOpen = static_cast<QPushButton*>(get("cmdOpen"));
    cmdSave = static_cast<QPushButton*>(get("cmdSave"));
    Frame1 = static_cast<QGroupBox*>(get("Frame1"));
    Frame2 = static_cast<QGroupBox*>(get("Frame2"));
    Frame3 = static_cast<QGroupBox*>(get("Frame3"));
    optDatum = {static_cast<QRadioButton*>(get("optDatum(0)")),
                static_cast<QRadioButton*>(get("optDatum(1)"))};
    optDriveSide = {static_cast<QRadioButton*>(get("optDriveSide(0)")),
                    static_cast<QRadioButton*>(get("optDriveSide(1)"))};
    Label1 = static_cast<QLabel*>(get("Label1"));
    Label2 = static_cast<QLabel*>(get("Label2"));
    Label3 = static_cast<QLabel*>(get("Label3"));
    Label4 = static_cast<QLabel*>(get("Label4"));
    cmbEvent = static_cast<QComboBox*>(get("cmbEvent"));
    cmbEffect = static_cast<QComboBox*>(get("cmbEffect"));
    chkFlip = static_cast<QCheckBox*>(get("chkFlip"));
    chkAnimate = static_cast<QCheckBox*>(get("chkAnimate"));
    chkCritPos = static_cast<QCheckBox*>(get("chkCritPos"));
    scrSpeed = static_cast<QScrollBar*>(get("scrSpeed"));
    txtNoEffects = static_cast<QLineEdit*>(get("txtNoEffects"));
    Editor = static_cast<QPlainTextEdit*>(get("Editor"));
    txtOut = static_cast<QPlainTextEdit*>(get("txtOut"));

    // The flip box sits on the datum frame's row; it must be drawn in front of the frame.
    chkFlip->raise();
}

void frmMain::applyStartupSettings() {
    for (QLabel* label : {lblDistance, lblTime}) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
    }
    scrTrucks->setMaximum(1000);
    scrTrucks->setPageStep(50);
    scrTrucks->setSingleStep(1);
    scrTrucks->setValue(0);
    Timer1->setInterval(500);
    chkAnimate->setChecked(true);
    chkCritPos->setChecked(false);
    chkCritPos->setEnabled(false);
    chkFlip->setChecked(false);
    optDatum[0]->setChecked(true);
    optDriveSide[1]->setChecked(true);

    // Each frame makes its two options one exclusive group, told apart by index.
    for (const auto& [frame, options] : {std::pair{Frame3, optDatum}, {Frame1, optDriveSide}}) {
        auto* group = new QButtonGroup(frame);
        group->addButton(options[0], 0);
        group->addButton(options[1], 1);
        (frame == Frame3 ? datumGroup_ : driveSideGroup_) = group;
    }
}

void frmMain::connectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (frmMain::*handler)()) {
        connect(sender, signal, this, [this, handler] { run([&] { (this->*handler)(); }); });
    };
    on(chkAnimate, &QCheckBox::toggled, &frmMain::chkAnimate_Click);
    on(chkCritPos, &QCheckBox::toggled, &frmMain::chkCritPos_Click);
    on(chkFlip, &QCheckBox::toggled, &frmMain::chkFlip_Click);
    on(cmdOpen, &QPushButton::clicked, &frmMain::cmdOpen_Click);
    on(cmdSave, &QPushButton::clicked, &frmMain::cmdSave_Click);
    on(cmbEvent, &QComboBox::activated, &frmMain::cmbEvent_Click);
    on(cmbEffect, &QComboBox::activated, &frmMain::cmbEffect_Click);
    on(scrSpeed, &QScrollBar::valueChanged, &frmMain::scrSpeed_Change);
    on(scrTrucks, &QScrollBar::valueChanged, &frmMain::scrTrucks_Change);
    on(txtNoEffects, &QLineEdit::textChanged, &frmMain::txtNoEffects_Change);
    // A dialog runs an event loop of its own, in which the timer goes on ticking. A tick that
    // comes while a handler is running must not run another one in the middle of it.
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (handlersRunning_ == 0)
            run([this] { Timer1_Timer(); });
    });
    // An option's handler runs when it becomes the selected one.
    connect(datumGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            run([&] { optDatum_Click(static_cast<std::int16_t>(id)); });
    });
    connect(driveSideGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            run([&] { optDriveSide_Click(static_cast<std::int16_t>(id)); });
    });
}

void frmMain::setTabOrder() {
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : ControlTable)
        if (row.tab >= 0)
            rows.push_back(&row);
    std::sort(rows.begin(), rows.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
    QWidget* previous = nullptr;
    for (const ControlRow* row : rows) {
        QWidget* widget = controls_.at(controlKey(*row));
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void frmMain::Form_Load() {
    HeightRatio = 0.15f;
    view.Span = 20.0f;
    view.NoEffects = 3;
    view.DriveRight = true;
    view.DatumRHS = true;
    scrSpeed->setMaximum(100);
    scrSpeed->setMinimum(1);
    scrSpeed->setValue(25);
    lblTime->setText("");
    lblDistance->setText("");
    txtOutText_.clear();
    txtOut->clear();
    Animate = true;
    CritPos = false;
    DrawBridge(view.Span, GA->surface(), sceneContext().draw);
    GA->update();
}

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

// ---- Opening a file -------------------------------------------------------------------------

void frmMain::setEditorText(const std::string& text) {
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Editor->setPlainText(shown);
}

void frmMain::cmdOpen_Click() {
    store.FileLines.clear();
    setEditorText("");

    bool selected = false;
    std::string readText;
    skipOnError([&] { selected = SelectEventFile(*dialogs_, store, readText); });
    // The box shows what was read, also when reading failed part-way.
    if (!readText.empty())
        setEditorText(readText);
    if (!selected)
        return;

    ParseStop stop;
    bool stopped = false;
    try {
        ParseEventFile(store, view.NoEffects, &stop);
    } catch (const RuntimeError&) {
        stopped = true; // the events read before the bad line stay
    }
    skipOnError([&] { setSpanFromOpenedFile(); });
    const long shownBefore = effectsShown_;

    skipOnError([&] {
        cmbEvent->clear();
        for (long i = 1; i <= store.NoEvents; ++i)
            cmbEvent->addItem(QString::fromStdString(generalForm(store.Events.at(i).EventNo)));
    });
    // A freshly filled list has no pick until one is made.
    cmbEvent->setCurrentIndex(-1);
    skipOnError([&] {
        cmbEffect->clear();
        for (long i = 1; i <= view.NoEffects; ++i)
            cmbEffect->addItem(QString::number(i));
    });
    cmbEffect->setCurrentIndex(-1);
    skipOnError([&] { pickByText(cmbEvent, generalForm(store.Events.at(1).EventNo)); });
    skipOnError([&] {
        const EffectData& first = store.Events.at(1).Effects.at(1);
        pickByText(cmbEffect, generalForm(std::int32_t{first.EffectNo}));
    });
    FileLoaded = true;

    // Nothing of this file is shown: the previous file's picture must not stay as if it were.
    if (effectsShown_ == shownBefore)
        skipOnError([&] { showEmptySpan(); });
    // A reading that stopped early looks complete in the lists; say where it stopped, unless
    // all it left out are blank lines at the end.
    if (stopped && !onlyBlankItemsFrom(stop.item))
        dialogs_->messageBox(DescribeStop(stop), AppTitle);
}

bool frmMain::onlyBlankItemsFrom(long item) const {
    for (long i = std::max(item, 1L); i <= store.FileLines.size(); ++i)
        if (!store.FileLines.at(i).empty())
            return false;
    return true;
}

void frmMain::showEmptySpan() {
    const RepaintWhenDone repaint(GA);
    lblTime->setText("");
    lblDistance->setText("");
    GA->surface().Cls();
    DrawBridge(view.Span, GA->surface(), sceneContext().draw);
}

void frmMain::setSpanFromOpenedFile() {
    if (const std::optional<float> fromName = UsableSpan(SpanTextFromFileName(store.FileName))) {
        view.Span = *fromName;
        return;
    }
    const std::string reply = dialogs_->inputBox("Please enter the span...", AppTitle);
    if (const std::optional<float> entered = UsableSpan(reply))
        view.Span = *entered;
}

void frmMain::pickByText(QComboBox* list, const std::string& text) {
    const int index = list->findText(QString::fromStdString(text), Qt::MatchExactly);
    if (index < 0)
        kestavian::raise(ErrorNumber::InvalidPropertyValue, "No item shows " + text);
    list->setCurrentIndex(index);
    if (list == cmbEvent)
        cmbEvent_Click();
    else
        cmbEffect_Click();
}

// ---- Selection and display ------------------------------------------------------------------

SceneContext frmMain::sceneContext() const {
    return {view.Span, view.DatumRHS, {HeightRatio, view.DriveRight, FlipDatum}};
}

const EffectData& frmMain::selectedEffect() const {
    const EventData& event = store.Events.at(long{cmbEvent->currentIndex()} + 1);
    const std::int32_t effectNo = textToInt32(cmbEffect->currentText().toStdString());
    return event.Effects.at(effectNo);
}

void frmMain::cmbEvent_Click() {
    skipOnError([&] { ShowEvent(selectedEffect()); });
}

void frmMain::cmbEffect_Click() {
    skipOnError([&] { ShowEvent(selectedEffect()); });
}

void frmMain::appendToTxtOut(const std::string& line) {
    txtOutText_ += line;
    txtOutText_ += "\r\n";
    QTextCursor cursor(txtOut->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(line) + '\n');
}

void frmMain::ShowEvent(const EffectData& effect) {
    const SceneContext context = sceneContext();
    const RepaintWhenDone repaint(GA);
    ++effectsShown_;

    LabelCaptions labels(lblTime, lblDistance);
    DrawEffectBackground(GA->surface(), context, effect, labels);
    const EffectTimings timings =
        WriteTimingLines(effect, view.Span, view.DatumRHS, FirstTruckOn,
                         [this](const std::string& line) { appendToTxtOut(line); });
    scrTrucks->setMinimum(0);
    scrTrucks->setMaximum(ScrubberMax(timings.duration));
    scrTrucks->setPageStep(ScrubberLargeChange(timings.duration));
    scrTrucks->setSingleStep(ScrubberSmallChange(timings.duration));
    scrTrucks->setValue(0);
    DrawSceneAtTime(effect, CritPos);
}

void frmMain::DrawSceneAtTime(const EffectData& effect, bool critPos) {
    const SceneContext context = sceneContext();
    LabelCaptions labels(lblTime, lblDistance);
    const RepaintWhenDone repaint(GA);
    kestavian::DrawSceneAtTime(GA->surface(), context, effect, critPos, toInt16(scrTrucks->value()),
                               FirstTruckOn, labels);
}

// ---- Playback -------------------------------------------------------------------------------

void frmMain::scrTrucks_Change() {
    try {
        DrawSceneAtTime(selectedEffect(), CritPos);
        return;
    } catch (const RuntimeError&) {
    }
    // The picked pair cannot be drawn: show event 1, effect 1. When even that cannot be drawn
    // (nothing opened yet, or an effect without trucks), the picture and labels stay as they were.
    const ImageSurface pictureBefore = GA->surface();
    const QString timeBefore = lblTime->text();
    const QString distanceBefore = lblDistance->text();
    const TruckData firstBefore = FirstTruckOn;
    try {
        DrawSceneAtTime(store.Events.at(1).Effects.at(1), CritPos);
    } catch (const RuntimeError&) {
        GA->surface() = pictureBefore;
        lblTime->setText(timeBefore);
        lblDistance->setText(distanceBefore);
        FirstTruckOn = firstBefore;
        GA->update();
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
    FlipDatum = chkFlip->isChecked();
    scrTrucks_Change();
}

void frmMain::optDriveSide_Click(std::int16_t index) {
    view.DriveRight = index != 0;
    skipOnError([&] { DrawSceneAtTime(selectedEffect(), CritPos); });
}

void frmMain::optDatum_Click(std::int16_t index) {
    view.DatumRHS = index == 0;
    skipOnError([&] {
        ShowEvent(selectedEffect());
        DrawSceneAtTime(selectedEffect(), CritPos);
    });
}

void frmMain::txtNoEffects_Change() {
    const std::string text = txtNoEffects->text().toStdString();
    if (!isNumeric(text))
        return;
    // A number that does not fit leaves the setting as it was.
    skipOnError([&] { view.NoEffects = textToInt16(text); });
}

// ---- Saving the picture ---------------------------------------------------------------------

void frmMain::cmdSave_Click() {
    const QString path =
        programFolder_ + "/" +
        PictureFileName(view.Span, cmbEvent->currentIndex() + 1, cmbEffect->currentText());
    const QString reason = SavePicture(GA->surface().Image(), path, "BMP");
    if (!reason.isEmpty())
        dialogs_->messageBox(
            ("The picture could not be saved to " + path + ": " + reason).toStdString(), AppTitle);
}

} // namespace kestavian
