#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>

#include "support/record_builders.h"
#include "support/scripted_dialogs.h"
#include "window/frm_main.h"
#include "window/picture_box.h"

namespace kestavian::test {

inline const std::string Sample = KESTAVIAN_EXAMPLES "/Events_30_sample.txt";

inline const std::string WorkedExampleText = fixtureText("worked_example.txt");
// Events 17, 18 and 25, three effects each. Effect e of the event at list position p starts at
// second 10 p + e: effects 1 and 2 have a truck in each direction, effect 3 has none.
inline const std::string ThreeEventFile = fixtureText("three_events.txt");

// BMP and PNG files come back in another pixel format than the picture box keeps.
inline QImage rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// A main window with scripted dialogs and a scratch folder for event files and pictures, driven
// through its controls as a user would.
class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<frmMain>(std::move(scripted));
        window->setPictureFolder(folder.path());
    }
    // A fresh window, as after a new start of the program.
    void restart() {
        window.reset();
        WindowTest::SetUp();
    }
    const FormControls& ui() const { return window->controls(); }
    const FormState& state() const { return window->state(); }

    std::string path(const std::string& name) const {
        return (std::filesystem::path(folder.path().toStdString()) / name).string();
    }
    std::string writeFile(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }
    // The worked example under a name, which decides the span.
    std::string workedExample(const std::string& name) const {
        return writeFile(name, WorkedExampleText);
    }
    // The Open command, answered with the path (or cancelled).
    void open(const std::optional<std::string>& filePath) {
        dialogs->files.push_back(filePath);
        ui().cmdOpen->click();
    }
    // A pick made by the user in a list.
    void pick(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // A tick of the timer, through its notification.
    void tick() { QMetaObject::invokeMethod(ui().Timer1, "timeout"); }
    QImage picture() const { return ui().GA->surface().Image().copy(); }
    // The diagnostics lines, without their "\r\n".
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        const std::string& text = state().txtOutText;
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
             at = end + 2)
            result.push_back(text.substr(at, end - at));
        return result;
    }
    // The items of a list, joined by blanks.
    static QString itemsOf(const QComboBox* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items.join(' ');
    }

    QTemporaryDir folder;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<frmMain> window;
};

} // namespace kestavian::test
