#include "window/frm_main.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "drawing/picture_file.h"
#include "window/picture_box.h"

namespace kestavian {

namespace {

// The file types Save Picture As offers, in the dialog's order: the scale applies to PNG.
struct PictureType {
    const char* filter;
    const char* format;
    double scale;
};
constexpr PictureType PictureTypes[] = {
    {"PNG image (*.png)", "PNG", 1},
    {"PNG image at 2 x (*.png)", "PNG", 2},
    {"PNG image at 4 x (*.png)", "PNG", 4},
    {"BMP image (*.bmp)", "BMP", 1},
    {"SVG drawing, for reports (*.svg)", "SVG", 1},
};

} // namespace

void frmMain::cmdSave_Click() {
    const QString path =
        pictureFolder_ + "/" +
        pictureFileName(view.Span, cmbEvent->currentIndex() + 1, cmbEffect->currentText());
    const QString reason = SavePicture(GA->surface().Image(), path, "BMP");
    if (!reason.isEmpty())
        reportSaveFailure(path, reason);
}

void frmMain::reportSaveFailure(const QString& path, const QString& reason) {
    dialogs_->messageBox(
        ("The picture could not be saved to " + path + ": " + reason).toStdString(), AppTitle);
}

// The picture's own menu, at the place it was asked for.
void frmMain::showPictureMenu(const QPoint& at) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(copyPictureAction_);
    QMenu* scaled = menu->addMenu("Copy Picture at Scale");
    for (const int scale : {2, 3, 4})
        scaled->addAction(QString("%1 x").arg(scale), this,
                          [this, scale] { run([this, scale] { copyPicture(scale); }); });
    menu->addAction(savePictureAction_);
    menu->addSeparator();
    addStatisticsEntry(*menu);
    menu->popup(GA->mapToGlobal(at));
}

void frmMain::copyPicture(double scale) {
    QApplication::clipboard()->setImage(scale == 1 ? GA->surface().Image()
                                                   : GA->surface().scaledImage(scale));
}

void frmMain::saveChosenPicture() {
    std::vector<std::string> filters;
    for (const PictureType& type : PictureTypes)
        filters.emplace_back(type.filter);
    QSettings settings = programSettings();
    const QString folder =
        settings.value(LastSaveFolderKey, settings.value(LastOpenFolderKey, QDir::homePath()))
            .toString();
    const QString name =
        pictureFileName(view.Span, cmbEvent->currentIndex() + 1, cmbEffect->currentText());
    const std::optional<Dialogs::SaveChoice> choice = dialogs_->saveFile(
        filters, QFile::encodeName(QDir(folder).filePath(name.chopped(3) + "png")).toStdString());
    if (!choice)
        return;
    const PictureType& type =
        PictureTypes[choice->filter >= 0 && choice->filter < std::ssize(PictureTypes)
                         ? choice->filter
                         : 0];
    QString path = QFile::decodeName(choice->path.c_str());
    // A name typed with a picture's ending is saved as that; one without gets the type's.
    QByteArray format = pictureFormatOf(path);
    if (format.isEmpty()) {
        format = type.format;
        path += "." + QString::fromLatin1(format).toLower();
    }
    const QString reason =
        savePictureAs(GA->surface(), path, format, format == type.format ? type.scale : 1);
    if (!reason.isEmpty())
        return reportSaveFailure(path, reason);
    settings.setValue(LastSaveFolderKey, QFileInfo(path).absolutePath());
}

} // namespace kestavian
