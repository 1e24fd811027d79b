#include "window/frm_main.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>

#include "data/mod_input.h"
#include "data/viewer_file.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian {

namespace {

// Where the Open dialog starts: the folder of the last file opened, kept across runs.
const char* const LastFolderKey = "open/lastFolder";

// The program's settings, in the platform's usual place.
QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
}

} // namespace

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
    const ViewerFile read = readViewerFile(path, store.FileLines);
    // What was read is shown, also when the reading failed part-way.
    if (!read.shownText.empty())
        setEditorText(read.shownText);
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
    if (stopped && !onlyBlankItemsFrom(store.FileLines, stop.item))
        dialogs_->messageBox(describeStop(stop), AppTitle);
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

} // namespace kestavian
