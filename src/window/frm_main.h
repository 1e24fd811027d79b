#pragma once

#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "data/mod_udts.h"
#include "drawing/scene_drawing.h"
#include "platform/dialogs.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace kestavian {

class PictureBox;

// The program's only window: its controls, the program-wide view settings and event store, the
// window fields that steer drawing and playback, and every handler.
class frmMain : public QWidget {
    Q_OBJECT
public:
    // dialogs: the modal dialogs to use; the Qt ones when none are given.
    explicit frmMain(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // Program-wide state.
    EventStore store;
    ViewSettings view;
    TruckData FirstTruckOn;

    // Window fields.
    float HeightRatio = 0.15f;
    bool FileLoaded = false;
    bool Animate = true;
    bool CritPos = false;
    bool FlipDatum = false;

    // Controls, by their names.
    PictureBox* GA = nullptr;
    QLabel* lblDistance = nullptr;
    QLabel* lblTime = nullptr;
    QScrollBar* scrTrucks = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdSave = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, 2> optDatum{};
    std::array<QRadioButton*, 2> optDriveSide{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cmbEvent = nullptr;
    QComboBox* cmbEffect = nullptr;
    QCheckBox* chkFlip = nullptr;
    QCheckBox* chkAnimate = nullptr;
    QCheckBox* chkCritPos = nullptr;
    QScrollBar* scrSpeed = nullptr;
    QLineEdit* txtNoEffects = nullptr;
    QPlainTextEdit* Editor = nullptr;
    QPlainTextEdit* txtOut = nullptr;
    QTimer* Timer1 = nullptr;

    // The widget of a control by its name ("optDatum(1)" for a member of an option group).
    QWidget* control(const std::string& name) const;

    // The diagnostics box's text, with its "\r\n" line ends.
    const std::string& txtOutText() const { return txtOutText_; }

    // The folder pictures are saved in: the program's folder unless changed (tests use this).
    QString programFolder() const { return programFolder_; }
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }

    // Handlers, called by the controls' notifications and callable directly.
    void chkAnimate_Click();
    void chkCritPos_Click();
    void chkFlip_Click();
    void cmdOpen_Click();
    void cmbEvent_Click();
    void cmbEffect_Click();
    void cmdSave_Click();
    void Form_Load();
    void scrSpeed_Change();
    void scrTrucks_Change();
    void optDriveSide_Click(std::int16_t index);
    void optDatum_Click(std::int16_t index);
    void Timer1_Timer();
    void txtNoEffects_Change();

    void ShowEvent(const EffectData& effect);
    void DrawSceneAtTime(const EffectData& effect, bool critPos);

private:
    template <typename Handler> void run(Handler&& handler);
    void createControls();
    void applyStartupSettings();
    void connectHandlers();
    void setTabOrder();

    // The settings the scene drawing reads, as they stand now.
    SceneContext sceneContext() const;
    // The effect picked in the two lists; a runtime error when the pair does not exist.
    const EffectData& selectedEffect() const;
    // Selects the item showing text, then runs the list's handler as a user's pick would.
    void pickByText(QComboBox* list, const std::string& text);
    void setEditorText(const std::string& text);
    void appendToTxtOut(const std::string& line);
    void setSpanFromOpenedFile();
    // True when the items from item on (1-based) are all empty.
    bool onlyBlankItemsFrom(long item) const;
    // The start-up picture at the current span, with empty labels.
    void showEmptySpan();

    QButtonGroup* datumGroup_ = nullptr;
    QButtonGroup* driveSideGroup_ = nullptr;
    // Handlers running now, nested ones included.
    int handlersRunning_ = 0;
    // Effects ShowEvent has begun to show, to tell whether an Open showed one.
    long effectsShown_ = 0;
    std::unique_ptr<Dialogs> dialogs_;
    std::map<std::string, QWidget*> controls_;
    std::string txtOutText_;
    QString programFolder_;
};

} // namespace kestavian
