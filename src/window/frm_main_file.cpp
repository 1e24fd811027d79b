#include "window/frm_main.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>

#include "data/mod_input.h"
#include "data/viewer_file.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian {

namespace {

// Why a file could not be opened and what to do about it, in the user's words.
std::string openFailureAdvice(const ReadFailure& failure, const std::string& path) {
    const std::string cutOut =
        " Cut the events you need out of it into a file the viewer opens, for example with\n" +
        viewerSizedExtract(path);
    switch (failure.kind) {
    case ReadFailureKind::NoSuchFile:
        return "There is no such file: check its name and folder.";
    case ReadFailureKind::Folder:
        return "It is a folder: open an event file in it.";
    case ReadFailureKind::NotRegularFile:
        return "It is not a plain file (a device or a pipe): save the events to a file first.";
    case ReadFailureKind::PermissionDenied:
        return "You may not read it: ask its owner for read permission, or open a copy you may "
               "read.";
    case ReadFailureKind::TooManyItems:
        return "It holds more than " + std::to_string(ViewerReadLimits.maxItems) +
               " lines, the most the viewer opens." + cutOut;
    case ReadFailureKind::TooLarge:
        return "It is larger than " + std::to_string(ViewerReadLimits.maxBytes) +
               " bytes, the most the viewer opens." + cutOut;
    case ReadFailureKind::Compressed:
        if (failure.compression == "gzip")
            return "It is compressed (gzip), which the viewer does not read: decompress it first "
                   "(gunzip)." +
                   cutOut;
        return "It is compressed (" + failure.compression +
               "), which the viewer does not read: decompress it first.";
    case ReadFailureKind::Damaged:
    case ReadFailureKind::SystemError:
        break;
    }
    return "The system says: " + failure.text + ".";
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
        QFile::encodeName(programSettings().value(LastOpenFolderKey).toString()).toStdString());
    // Cancelled: FileName keeps the name it had.
    if (chosen)
        openChosenFile(*chosen);
}

void frmMain::openFile(const QString& path, const StartPicks& picks) {
    run([&] {
        store.FileLines.clear();
        setEditorText("");
        openChosenFile(QFile::encodeName(path).toStdString());
    });
    if (!store.FileName.empty())
        makeStartPicks(picks);
}

bool frmMain::SelectEventFile(const std::string& path) {
    store.FileName = path;
    const ViewerFile read = readViewerFile(path, store.FileLines);
    // What was read is shown, also when the reading failed part-way.
    if (!read.shownText.empty())
        setEditorText(read.shownText);
    if (read.failure) {
        dialogs_->messageBox("Unkown error while opening file " + store.FileName + "\n\n" +
                                 openFailureAdvice(*read.failure, path),
                             AppTitle);
        store.FileName.clear();
        return false;
    }
    store.FileName = bareFileName(path);
    ++filesOpened_;
    programSettings().setValue(LastOpenFolderKey,
                               QFileInfo(QFile::decodeName(path.c_str())).absolutePath());
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
    showFileInTitle();
    followInStatistics();
    // A reading that stopped early looks complete in the lists; say where it stopped, unless
    // all it left out are blank lines at the end. A file without events opens to an empty span:
    // say so, lest it look like a failure to draw.
    std::string message;
    if (stopped && !onlyBlankItemsFrom(store.FileLines, stop.item)) {
        message = describeStop(stop);
        if (const auto other = effectCountReadingOn(store.FileLines, view.NoEffects, stop.item))
            message += "\n\nRead with " + std::to_string(*other) +
                       " load effects per event, the file reads on past this line: is \"No. of "
                       "load effects\" (" +
                       std::to_string(view.NoEffects) + ") right?";
    }
    if (store.NoEvents == 0)
        message += (message.empty() ? "" : "\n\n") + store.FileName + " holds no event.";
    if (!message.empty())
        dialogs_->messageBox(message, AppTitle);
}

void frmMain::showFileInTitle() {
    setWindowTitle(QString(FormCaption) + " - " + QString::fromStdString(store.FileName) +
                   " (span " + QString::fromStdString(localGeneralForm(view.Span)) + " m)");
}

void frmMain::setSpanFromOpenedFile() {
    if (const std::optional<float> fromName = usableSpan(spanTextFromFileName(store.FileName))) {
        view.Span = *fromName;
        return;
    }
    // Asked until the reply is a span; Cancel keeps the span in use, which the title shows.
    const std::string question = "Please enter the span...";
    std::string prompt = question;
    for (;;) {
        const std::optional<std::string> reply = dialogs_->inputBox(prompt, AppTitle);
        if (!reply)
            return;
        if (const std::optional<float> entered = usableSpan(*reply)) {
            view.Span = *entered;
            return;
        }
        prompt = question + "\n\n" +
                 (reply->empty() ? std::string("No span was typed")
                                 : "\"" + *reply + "\" is not a span") +
                 ": type the span in metres, a number greater than 0 such as 30 or 32.5. Cancel "
                 "keeps the span of " +
                 localGeneralForm(view.Span) + " m.";
    }
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
