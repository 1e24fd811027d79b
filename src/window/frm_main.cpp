#include "window/frm_main.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "window/picture_box.h"
#include "window/qt_dialogs.h"
#include "window/statistics_window.h"

// The window's resources live in this static library; using them here keeps them linked in.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace kestavian {

QSettings programSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
}

frmMain::frmMain(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)),
      pictureFolder_(QCoreApplication::applicationDirPath()) {
    if (!dialogs_)
        dialogs_ = std::make_unique<QtDialogs>(this);
    initResources();
    setWindowIcon(QIcon(":/kestavian.svg"));
    setupForm(*this, *this);
    // A file dropped anywhere on the window is opened.
    setAcceptDrops(true);
    connectHandlers();
    addShortcuts();
    Form_Load();
    Timer1->start();
    Editor->setFocus();
}

frmMain::~frmMain() = default;

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
    onOption(optDatumGroup, &frmMain::optDatum_Click);
    onOption(optDriveSideGroup, &frmMain::optDriveSide_Click);
}

// The keys of the commands, as in any desktop program; the buttons keep their captions.
void frmMain::addShortcuts() {
    const auto key = [this](QKeyCombination keys, auto action, const QString& text = {}) {
        auto* command = new QAction(text, this);
        command->setShortcut(keys);
        connect(command, &QAction::triggered, this, action);
        addAction(command);
        return command;
    };
    key(Qt::CTRL | Qt::Key_O, [this] { cmdOpen->click(); });
    key(Qt::CTRL | Qt::Key_S, [this] { cmdSave->click(); });
    key(Qt::CTRL | Qt::Key_Q, [this] { close(); });
    copyPictureAction_ = key(
        Qt::CTRL | Qt::SHIFT | Qt::Key_C, [this] { run([this] { copyPicture(1); }); },
        "Copy Picture");
    savePictureAction_ = key(
        Qt::CTRL | Qt::SHIFT | Qt::Key_S, [this] { run([this] { saveChosenPicture(); }); },
        "Save Picture As...");
    key(Qt::CTRL | Qt::Key_T, [this] {
        if (FileLoaded)
            showStatistics();
    });
    // The picture has a menu of its own, for putting it in a report; the lists one that opens
    // the statistics of the effect picked.
    GA->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(GA, &QWidget::customContextMenuRequested, this, &frmMain::showPictureMenu);
    for (QComboBox* list : {cmbEvent, cmbEffect}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            auto* menu = new QMenu(this);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            addStatisticsEntry(*menu);
            menu->popup(list->mapToGlobal(at));
        });
    }
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

} // namespace kestavian
