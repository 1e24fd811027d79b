#pragma once

#include <QSettings>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/mod_udts.h"
#include "platform/runtime_error.h"
#include "window/dialogs.h"
#include "window/frm_main_form.h"

class QAction;
class QComboBox;
class QMenu;
class QMimeData;

namespace kestavian {

// What the command line asks to be picked once its file is open: the event by its number, the
// effect, and the trucks at the effect's own time.
struct StartPicks {
    std::optional<std::int32_t> eventNo;
    std::optional<std::int16_t> effectNo;
    bool critical = false;
};

// The program's name: the title of its message boxes and questions, and where its settings live.
inline constexpr const char* AppTitle = "Kestavian";

// What the program keeps between runs, in the platform's usual place: the folder of the last file
// opened (where the Open dialog starts) and of the last picture saved as (where Save Picture As
// starts).
QSettings programSettings();
inline constexpr const char* LastOpenFolderKey = "open/lastFolder";
inline constexpr const char* LastSaveFolderKey = "save/lastFolder";

struct Scene;
class StatisticsWindow;

// What the window keeps besides its controls: the event store and view settings it owns for the
// whole program, the copy of the first truck on, and the window fields that steer playback.
struct FormState {
    EventStore store;
    ViewSettings view;
    TruckData FirstTruckOn;
    bool FileLoaded = false;
    bool Animate = true;
    bool CritPos = false;
    // The diagnostics box's text with its "\r\n" line ends.
    std::string txtOutText;
};

// The program's only window: its controls, start-up, and every handler. Handlers run only from
// the controls' notifications, one at a time.
class frmMain : public QWidget, private FormControls, private FormState {
    Q_OBJECT
public:
    // dialogs: the modal dialogs to use; the Qt ones when none are given.
    explicit frmMain(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // For tests, which drive the window through its controls and read what it holds.
    const FormControls& controls() const { return *this; }
    const FormState& state() const { return *this; }

    // The statistics window, once it has been opened.
    StatisticsWindow* statisticsWindow() const { return statistics_.get(); }

    // The folder pictures are saved in: the program's own unless changed.
    void setPictureFolder(const QString& folder) { pictureFolder_ = folder; }

    // Opens the file at path as if it had been chosen in the Open dialog: from the command line,
    // from a file manager, or dropped on the window. Then, when the file opened, the picks are made
    // through the same controls and handlers as the user's: the options, the event, the effect.
    void openFile(const QString& path, const StartPicks& picks = {});

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Handlers, named after the control and the notification.
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

    // The Open command once a file is chosen: SelectEventFile (read the items, echo them, or show
    // the message) and the rest of the command.
    void openChosenFile(const std::string& path);
    bool SelectEventFile(const std::string& path);
    static QString droppedFile(const QMimeData* data);

    // The picture for a report: its menu, copied to the clipboard (at a scale: drawn that many
    // times finer), or saved as PNG, BMP or SVG where the user chooses.
    void showPictureMenu(const QPoint& at);
    void copyPicture(double scale);
    void saveChosenPicture();
    void reportSaveFailure(const QString& path, const QString& reason);
    // The statistics of the effect picked, in their own window, which follows the picks; its
    // entry in the picture's and the lists' menus ("Statistics of load effect N...").
    void showStatistics();
    void followInStatistics();
    void pickFromStatistics(long position);
    void addStatisticsEntry(QMenu& menu);

    // ShowEvent and DrawSceneAtTime on this window's picture, labels and scrubber.
    void showEffect(const EffectData& effect);
    void drawScene(const EffectData& effect, bool critPos);
    // The start-up picture at the current span, with empty labels.
    void showEmptySpan();

    // Start-up: the handlers wired to their controls' notifications, and the command keys.
    void connectHandlers();
    void addShortcuts();
    // Runs a handler from a notification. Handlers trap what they are meant to trap; anything
    // that still arrives here (a runtime error, or even memory running out) must not reach the
    // event loop, which cannot recover from an exception: the user's action is then simply
    // abandoned.
    template <typename Handler> void run(Handler&& handler) {
        ++handlersRunning_;
        try {
            handler();
        } catch (const std::exception&) {
        }
        --handlersRunning_;
    }
    // A step of a handler that carries on after it fails.
    template <typename Step> static void skipOnError(Step&& step) {
        try {
            step();
        } catch (const RuntimeError&) {
        }
    }

    // The effect picked in the two lists; a runtime error when the pair does not exist.
    const EffectData& selectedEffect() const;
    // Selects the item showing text, then runs the list's handler as a user's pick would.
    void pickByText(QComboBox* list, const std::string& text);
    // The picks of the command line, once a file is open.
    void makeStartPicks(const StartPicks& picks);
    void setEditorText(const std::string& text);
    void appendToTxtOut(const std::string& line);
    void setSpanFromOpenedFile();
    // The window's title: its caption, the open file and the span it is drawn with.
    void showFileInTitle();

    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<StatisticsWindow> statistics_;
    // Files opened: the statistics window recomputes when another one is.
    long filesOpened_ = 0;
    // Handlers running now, nested ones included.
    int handlersRunning_ = 0;
    // Effects showEffect has begun to show, to tell whether an Open showed one.
    long effectsShown_ = 0;
    QString pictureFolder_;
    // The picture's commands, on their keys and in its menu.
    QAction* copyPictureAction_ = nullptr;
    QAction* savePictureAction_ = nullptr;
};

} // namespace kestavian
