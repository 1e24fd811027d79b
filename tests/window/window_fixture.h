#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/scripted_dialogs.h"
#include "window/frm_main.h"

namespace kestavian::test {

// A main window with scripted dialogs and a scratch folder for event files and pictures.
class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<frmMain>(std::move(scripted));
        window->setProgramFolder(folder.path());
    }

    std::string path(const std::string& name) const {
        return (std::filesystem::path(folder.path().toStdString()) / name).string();
    }

    // Writes text to a file in the scratch folder and returns its full path.
    std::string writeFile(const std::string& name, const std::string& text) const {
        std::ofstream out(path(name), std::ios::binary);
        out << text;
        return path(name);
    }

    // Copies a fixture under a new name (the name decides the span).
    std::string copyFixture(const std::string& fixture, const std::string& name) const {
        std::filesystem::copy_file(std::string(KESTAVIAN_FIXTURES) + "/" + fixture, path(name),
                                   std::filesystem::copy_options::overwrite_existing);
        return path(name);
    }

    // Opens a file through the Open button, answering the open dialog with its path.
    void open(const std::string& filePath) {
        dialogs->files.push_back(filePath);
        window->cmdOpen_Click();
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

// A truck line in its fixed columns: on day 1 of month 1 of year 0 at the given second and
// hundredths, with equal axle spacings.
inline std::string truckLine(int second, int hundredths, int speed, int length, int axles,
                             int direction, int spacing = 30, int weight = 400) {
    char line[128];
    int n = std::snprintf(
        line, sizeof line, "%04d%02d%02d%02d%02d%02d%02d%02d%03d%04d%03d%1d%1d%1d%03d", 1001, 1, 1,
        0, 0, 0, second, hundredths, speed, weight, length, axles, 1, direction, 40);
    for (int k = 1; k <= 9; ++k) {
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "%03d",
                           k <= axles ? 80 : 0);
        if (k < 9)
            n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "%02d",
                               k < axles ? spacing : 0);
    }
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
            if (trucks > 0) {
                text += truckLine(second, 0, 200, 120, 3, 1);
                text += truckLine(second + 1, 0, 250, 100, 2, 2);
            }
        }
        ++position;
    }
    return text;
}

// The lines of a text with "\r\n" line ends.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace kestavian::test
