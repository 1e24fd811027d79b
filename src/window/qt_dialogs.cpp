#include "window/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace kestavian {

namespace {

// The open dialog's rule for a typed name: a name that exists is taken as typed, and the default
// extension is added only to one that does not. Qt would add the extension to every name without
// one, so an existing file such as "Events_45_run" could not be opened at all.
class OpenFileDialog : public QFileDialog {
public:
    OpenFileDialog(QWidget* parent, const QString& defaultExtension)
        : QFileDialog(parent), defaultExtension_(defaultExtension) {
        // Qt's own dialog, so the rule above holds on every desktop.
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }

    void accept() override {
        const QStringList typed = selectedFiles();
        if (typed.size() == 1 && !defaultExtension_.isEmpty() && !QFileInfo::exists(typed[0]) &&
            QFileInfo::exists(typed[0] + '.' + defaultExtension_))
            selectFile(typed[0] + '.' + defaultExtension_);
        // Refuses, with its own message, a name that still does not exist.
        QFileDialog::accept();
    }

private:
    QString defaultExtension_;
};

} // namespace

QString toQtNameFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'));
        // Here "*.*" would hide every name without a dot; "*" lists every file.
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const std::string& filter,
                                               const std::string& defaultExtension,
                                               const std::string& startFolder) {
    OpenFileDialog dialog(parent_, QString::fromStdString(defaultExtension));
    dialog.setNameFilter(toQtNameFilter(filter));
    if (!startFolder.empty())
        dialog.setDirectory(QFile::decodeName(startFolder.c_str()));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return QFile::encodeName(chosen.constFirst()).toStdString();
}

std::optional<Dialogs::SaveChoice> QtDialogs::saveFile(const std::vector<std::string>& filters,
                                                       const std::string& startPath) {
    QFileDialog dialog(parent_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList names;
    for (const std::string& filter : filters)
        names << QString::fromStdString(filter);
    dialog.setNameFilters(names);
    dialog.selectFile(QFile::decodeName(startPath.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveChoice{QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString(),
                      static_cast<int>(names.indexOf(dialog.selectedNameFilter()))};
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt,
                                               const std::string& title) {
    bool accepted = false;
    const QString reply = QInputDialog::getText(parent_, QString::fromStdString(title),
                                                QString::fromStdString(prompt), QLineEdit::Normal,
                                                QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return reply.toStdString();
}

void QtDialogs::messageBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace kestavian
