#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "window/dialogs.h"

class QWidget;

namespace kestavian {

// The program's dialogs shown with Qt, modal to the given parent window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> openFile(const std::string& filter,
                                        const std::string& defaultExtension,
                                        const std::string& startFolder) override;
    std::optional<SaveChoice> saveFile(const std::vector<std::string>& filters,
                                       const std::string& startPath) override;
    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& title) override;
    void messageBox(const std::string& text, const std::string& title) override;

private:
    QWidget* parent_;
};

// "Text files|*.txt|All files|*.*" in Qt's form, "Text files (*.txt);;All files (*)": "*.*"
// becomes "*", which lists every file here. A description without a pattern is dropped; patterns
// joined by ";" are separated by blanks.
QString toQtNameFilter(std::string_view filter);

} // namespace kestavian
