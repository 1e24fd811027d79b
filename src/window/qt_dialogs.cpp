#include "window/qt_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace kestavian {

QString toQtNameFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const std::string& filter,
                                               const std::string& defaultExtension) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(toQtNameFilter(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst().toStdString();
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title) {
    bool accepted = false;
    const QString reply = QInputDialog::getText(parent_, QString::fromStdString(title),
                                                QString::fromStdString(prompt), QLineEdit::Normal,
                                                QString(), &accepted);
    return accepted ? reply.toStdString() : std::string();
}

void QtDialogs::messageBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace kestavian
