#include "window/frm_main.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "data/event_file_reader.h"
#include "data/mod_input.h"
#include "drawing/bridge_drawing.h"
#include "drawing/picture_file.h"
#include "drawing/picture_size.h"
#include "drawing/scene_drawing.h"
#include "platform/checked_arithmetic.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"
#include "window/controls.h"
#include "window/picture_box.h"
#include "window/qt_dialogs.h"

// The window's resources live in this static library; using them here keeps them linked in.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace kestavian {

namespace {

// Where the Open dialog starts: the folder of the last file opened, kept across runs.
const char* const LastFolderKey = "open/lastFolder";

// The program's settings, in the platform's usual place.
QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
}

// Positions and sizes are in twips, 15 to a pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}
constexpr int WindowWidthTwips = 10125, WindowHeightTwips = 9300;
constexpr std::array<int, 5> GAPlacement{240, 240, 9615, 2500, 1};
// The headless tool draws at the shared picture size; it must be this picture's.
static_assert(twipsToPixels(GAPlacement[2]) == PictureWidthPixels &&
              twipsToPixels(GAPlacement[3]) == PictureHeightPixels);

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
    void setMaximum(std::int16_t value) override { bar_->setMaximum(value); }
    void setLargeChange(std::int16_t value) override { bar_->setPageStep(value); }
    void setSmallChange(std::int16_t value) override { bar_->setSingleStep(value); }
    void setValue(std::int16_t value) override { bar_->setValue(value); }
    std::int16_t value() const override { return toInt16(bar_->value()); }

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

// Handlers that carry on after a failing step.
template <typename Step> void skipOnError(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

} // namespace

// ---- Start-up -------------------------------------------------------------------------------

frmMain::frmMain(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)),
      pictureFolder_(QCoreApplication::applicationDirPath()) {
    if (!dialogs_)
        dialogs_ = std::make_unique<QtDialogs>(this);
    setWindowTitle("Event Visualization");
    initResources();
    setWindowIcon(QIcon(":/kestavian.svg"));
    // The controls have fixed sizes, so the captions need a compact face to fit them.
    QFont uiFont = font();
    uiFont.setPointSizeF(8);
    uiFont.setStretch(QFont::SemiCondensed);
    setFont(uiFont);
    resize(twipsToPixels(WindowWidthTwips), twipsToPixels(WindowHeightTwips));
    createControls();
    applyStartupSettings();
    connectHandlers();
    addShortcuts();
    Form_Load();
    Timer1->start();
    Editor->setFocus();
}

frmMain::~frmMain() = default;

// Makes a control inside parent at {left, top, width, height} in twips; the fifth number is its
// place in the keyboard focus order (0 first).
template <typename Widget, typename... Arguments>
Widget* frmMain::place(QWidget* parent, const char* name, std::array<int, 5> twipsAndTab,
                       Arguments&&... arguments) {
    auto* widget = new Widget(std::forward<Arguments>(arguments)..., parent);
    widget->setObjectName(name);
    const auto [left, top, width, height, tab] = twipsAndTab;
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
    tabOrder_.emplace_back(tab, widget);
    return widget;
}

// The controls, their captions and places; containers before what they hold. Nothing moves them
// later: the window has no layout.
void frmMain::createControls() {
    using Bar = ScrollBar;
    const auto label = [this](QWidget* parent, const char* name, std::array<int, 5> at,
                              const char* caption) {
        auto* widget = place<QLabel>(parent, name, at, caption);
        widget->setTextFormat(Qt::PlainText);
        widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return widget;
    };
    GA = place<PictureBox>(this, "GA", GAPlacement, QSize(PictureWidthPixels, PictureHeightPixels));
    lblDistance = label(GA, "lblDistance", {4920, 2160, 2055, 255, 16}, "0");
    lblTime = label(GA, "lblTime", {7440, 2160, 2055, 255, 15}, "0");
    scrTrucks = place<Bar>(this, "scrTrucks", {240, 2880, 9615, 255, 12}, Qt::Horizontal);
    cmdOpen = place<CommandButton>(this, "cmdOpen", {7080, 3360, 1215, 375, 2}, "Open");
    cmdSave = place<CommandButton>(this, "cmdSave", {8520, 3360, 1215, 375, 3}, "Save Picture");
    Frame3 = place<QGroupBox>(this, "Frame3", {240, 3360, 3015, 735, 20}, "Datum Type");
    optDatum[0] = place<QRadioButton>(Frame3, "optDatum(0)", {240, 240, 735, 375, 22}, "RHS");
    optDatum[1] = place<QRadioButton>(Frame3, "optDatum(1)", {960, 240, 735, 375, 21}, "Mixed");
    Frame2 = place<QGroupBox>(this, "Frame2", {3600, 3360, 2775, 1575, 7}, "Event data");
    Label2 = label(Frame2, "Label2", {120, 480, 1575, 375, 11}, "Draw Event No:");
    cmbEvent = place<QComboBox>(Frame2, "cmbEvent", {1440, 420, 1215, 315, 10});
    Label3 = label(Frame2, "Label3", {120, 1080, 1575, 375, 9}, "Draw Effect No:");
    cmbEffect = place<QComboBox>(Frame2, "cmbEffect", {1440, 1020, 1215, 315, 8});
    chkFlip = place<QCheckBox>(this, "chkFlip", {2040, 3600, 1095, 375, 25}, "Flip datum");
    scrSpeed = place<Bar>(this, "scrSpeed", {7080, 3960, 1335, 255, 13}, Qt::Horizontal);
    chkAnimate = place<QCheckBox>(this, "chkAnimate", {8640, 3960, 1095, 255, 14}, "Animate");
    Frame1 = place<QGroupBox>(this, "Frame1", {240, 4200, 3015, 735, 4}, "Drive side");
    optDriveSide[0] =
        place<QRadioButton>(Frame1, "optDriveSide(0)", {240, 240, 735, 375, 6}, "Left");
    optDriveSide[1] =
        place<QRadioButton>(Frame1, "optDriveSide(1)", {1680, 240, 735, 375, 5}, "Right");
    chkCritPos = place<QCheckBox>(this, "chkCritPos", {7080, 4440, 2775, 255, 17},
                                  "Approx Critical Position");
    Label1 = label(this, "Label1", {7080, 4920, 1695, 255, 18}, "No. of load effects:");
    txtNoEffects = place<QLineEdit>(this, "txtNoEffects", {9240, 4920, 615, 285, 19}, "3");
    Editor = place<QPlainTextEdit>(this, "Editor", {240, 5160, 6615, 3975, 0});
    Label4 = label(this, "Label4", {7080, 5400, 1455, 375, 24}, "Diagnostics:");
    txtOut = place<QPlainTextEdit>(this, "txtOut", {7080, 5640, 2775, 3495, 23});
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    // The open dialog (CD) is made each time it is needed, by the dialogs object.

    // The flip box sits on the datum frame's row; it must be drawn in front of the frame.
    chkFlip->raise();
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QWidget* previous = nullptr;
    for (const auto& [tab, widget] : tabOrder_) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void frmMain::applyStartupSettings() {
    for (QLabel* label : {lblDistance, lblTime}) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        label->setPalette(palette);
    }
    for (QScrollBar* bar : {scrTrucks, scrSpeed})
        bar->setFocusPolicy(Qt::StrongFocus);
    scrTrucks->setMaximum(1000);
    scrTrucks->setPageStep(50);
    scrTrucks->setSingleStep(1);
    scrTrucks->setValue(0);
    for (QPlainTextEdit* box : {Editor, txtOut}) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Breaking at word boundaries where possible costs time quadratic in the length of a
        // line without any, and a damaged file may be one line of megabytes. The event lines too
        // wide for the box are runs of digits, which break anywhere in either mode.
        box->setWordWrapMode(QTextOption::WrapAnywhere);
    }
    // The user may type in the file's box (nothing reads it); the diagnostics box is the log.
    txtOut->setReadOnly(true);
    // A file dropped on a text box opens like one dropped anywhere else on the window.
    setAcceptDrops(true);
    for (QWidget* box : std::initializer_list<QWidget*>{Editor, txtOut, txtNoEffects})
        box->setAcceptDrops(false);
    Timer1->setInterval(500);
    chkAnimate->setChecked(true);
    chkCritPos->setChecked(false);
    chkCritPos->setEnabled(false);
    chkFlip->setChecked(false);
    optDatum[0]->setChecked(true);
    optDriveSide[1]->setChecked(true);

    // Each frame makes its two options one exclusive group, told apart by index.
    datumGroup_ = new QButtonGroup(Frame3);
    driveSideGroup_ = new QButtonGroup(Frame1);
    for (int index : {0, 1}) {
        datumGroup_->addButton(optDatum[index], index);
        driveSideGroup_->addButton(optDriveSide[index], index);
    }
}

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
    const auto onOption = [this](QButtonGroup* group, void (frmMain::*handler)(std::int16_t)) {
        connect(group, &QButtonGroup::idToggled, this, [this, handler](int id, bool checked) {
            if (checked)
                run([&] { (this->*handler)(static_cast<std::int16_t>(id)); });
        });
    };
    onOption(datumGroup_, &frmMain::optDatum_Click);
    onOption(driveSideGroup_, &frmMain::optDriveSide_Click);
}

// A file dropped anywhere on the window is opened; of several, the first.
void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openFile(path);
}

QString frmMain::droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return {};
    return data->urls().constFirst().toLocalFile();
}

// The keys of the commands, as in any desktop program; the buttons keep their captions.
void frmMain::addShortcuts() {
    const auto key = [this](Qt::Key letter, auto action) {
        connect(new QShortcut(QKeySequence(Qt::CTRL | letter), this), &QShortcut::activated, this,
                action);
    };
    key(Qt::Key_O, [this] { cmdOpen->click(); });
    key(Qt::Key_S, [this] { cmdSave->click(); });
    key(Qt::Key_Q, [this] { close(); });
}

void frmMain::Form_Load() {
    view.HeightRatio = 0.15f;
    view.Span = 20.0f;
    view.NoEffects = 3;
    view.DriveRight = true;
    view.DatumRHS = true;
    scrSpeed->setMaximum(100);
    scrSpeed->setMinimum(1);
    scrSpeed->setValue(25);
    txtOutText.clear();
    txtOut->clear();
    Animate = true;
    CritPos = false;
    showEmptySpan();
}

// ---- Playback -------------------------------------------------------------------------------

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

// ---- Opening a file -------------------------------------------------------------------------

void frmMain::setEditorText(const std::string& text) {
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Editor->setPlainText(shown);
}

void frmMain::cmdOpen_Click() {
    store.FileLines.clear();
    setEditorText("");
    // The dialog (CD) starts where the last file was opened.
    const std::optional<std::string> chosen = dialogs_->openFile(
        "Text files|*.txt|All files|*.*", "txt",
        QFile::encodeName(settings().value(LastFolderKey).toString()).toStdString());
    // Cancelled: FileName keeps the name it had.
    if (chosen)
        openChosenFile(*chosen);
}

void frmMain::openFile(const QString& path) {
    run([&] {
        store.FileLines.clear();
        setEditorText("");
        openChosenFile(QFile::encodeName(path).toStdString());
    });
}

bool frmMain::SelectEventFile(const std::string& path) {
    store.FileName = path;
    FileItems read;
    try {
        read = readFileItems(path, ViewerReadLimits);
    } catch (const std::exception&) {
        // Also a file too large to hold in memory: the user gets the same message.
        read.failure = ReadFailure{};
    }
    // What was read is shown, also when the reading failed part-way; the item over the limit is
    // shown but not kept.
    if (!read.items.empty()) {
        std::string echo;
        for (std::string& item : read.items) {
            echo += item;
            echo += "\r\n";
            if (static_cast<std::uint64_t>(store.FileLines.size()) < ViewerReadLimits.maxItems)
                store.FileLines.append(std::move(item));
        }
        setEditorText(echo);
    }
    if (read.failure) {
        dialogs_->messageBox("Unkown error while opening file " + store.FileName, AppTitle);
        store.FileName.clear();
        return false;
    }
    store.FileName = bareFileName(path);
    settings().setValue(LastFolderKey, QFileInfo(QFile::decodeName(path.c_str())).absolutePath());
    return true;
}

void frmMain::openChosenFile(const std::string& path) {
    if (!SelectEventFile(path))
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
        dialogs_->messageBox(describeStop(stop), AppTitle);
}

bool frmMain::onlyBlankItemsFrom(long item) const {
    for (long i = std::max(item, 1L); i <= store.FileLines.size(); ++i)
        if (!store.FileLines.at(i).empty())
            return false;
    return true;
}

void frmMain::setSpanFromOpenedFile() {
    if (const std::optional<float> fromName = usableSpan(spanTextFromFileName(store.FileName))) {
        view.Span = *fromName;
        return;
    }
    const std::string reply = dialogs_->inputBox("Please enter the span...", AppTitle);
    if (const std::optional<float> entered = usableSpan(reply))
        view.Span = *entered;
}

void frmMain::pickByText(QComboBox* list, const std::string& text) {
    const int index = list->findText(QString::fromStdString(text), Qt::MatchExactly);
    if (index < 0)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue, "No item shows " + text);
    list->setCurrentIndex(index);
    if (list == cmbEvent)
        cmbEvent_Click();
    else
        cmbEffect_Click();
}

// ---- Selection and display ------------------------------------------------------------------

const EffectData& frmMain::selectedEffect() const {
    const EventData& event = store.Events.at(long{cmbEvent->currentIndex()} + 1);
    const std::int32_t effectNo = textToInt32(cmbEffect->currentText().toStdString());
    return event.Effects.at(effectNo);
}

void frmMain::cmbEvent_Click() {
    skipOnError([&] { showEffect(selectedEffect()); });
}

void frmMain::cmbEffect_Click() {
    skipOnError([&] { showEffect(selectedEffect()); });
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

// ---- Saving the picture ---------------------------------------------------------------------

void frmMain::cmdSave_Click() {
    const QString path =
        pictureFolder_ + "/" +
        pictureFileName(view.Span, cmbEvent->currentIndex() + 1, cmbEffect->currentText());
    const QString reason = SavePicture(GA->surface().Image(), path, "BMP");
    if (!reason.isEmpty())
        dialogs_->messageBox(
            ("The picture could not be saved to " + path + ": " + reason).toStdString(), AppTitle);
}

} // namespace kestavian
