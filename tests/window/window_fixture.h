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
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "support/record_builders.h"
#include "support/scripted_dialogs.h"
#include "window/frm_main.h"
#include "window/picture_box.h"

namespace kestavian::test {

inline const std::string Sample = KESTAVIAN_EXAMPLES "/Events_30_sample.txt";

inline std::string workedExampleText() {
    std::ifstream in(KESTAVIAN_FIXTURES "/worked_example.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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
        return writeFile(name, workedExampleText());
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
    long timeOnLines() const {
        const auto all = lines();
        return std::count_if(all.begin(), all.end(),
                             [](const std::string& l) { return l.starts_with("Time On: "); });
    }
    std::vector<std::string> itemsOf(const QComboBox* list) const {
        std::vector<std::string> items;
        for (int i = 0; i < list->count(); ++i)
            items.push_back(list->itemText(i).toStdString());
        return items;
    }

    QTemporaryDir folder;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<frmMain> window;
};

// An effect line in its fixed columns.
inline std::string effectLine(int effectNo, double value, double time, double distance,
                              int trucks) {
    char line[64];
    std::snprintf(line, sizeof line, "%-2d%10.2f%15.2f%10.2f %4d\n", effectNo, value, time,
                  distance, trucks);
    return line;
}

// A truck line in its fixed columns: on day 1 of month 1 of year 0 at the given second, with
// equal axle spacings.
inline std::string truckLine(int second, int speed, int length, int axles, int direction,
                             int spacing = 30) {
    char line[128];
    int n = std::snprintf(line, sizeof line, "10010101000000%02d00%03d0400%03d%1d1%1d040", second,
                          speed, length, axles, direction);
    for (int k = 1; k <= 9; ++k)
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n),
                           k < 9 ? "%03d%02d" : "%03d", k <= axles ? 80 : 0,
                           k < axles ? spacing : 0);
    return std::string(line) + "\n";
}

// Events 17, 18 and 25, three effects each. Effect e of the event at list position p starts at
// second 10 p + e: effects 1 and 2 have a truck in each direction, effect 3 has none.
inline std::string threeEventFile() {
    std::string text;
    int position = 0;
    for (const int eventNo : {17, 18, 25}) {
        text += std::to_string(eventNo) + "\n";
        for (int effect = 1; effect <= 3; ++effect) {
            const int second = 10 * position + effect;
            const int trucks = effect == 3 ? 0 : 2;
            text += effectLine(effect, 100.0 * effect + position, second + 0.5, 5, trucks);
            if (trucks > 0)
                text += truckLine(second, 200, 120, 3, 1) + truckLine(second + 1, 250, 100, 2, 2);
        }
        ++position;
    }
    return text;
}

} // namespace kestavian::test
