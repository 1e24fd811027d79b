#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
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

// The lines of a text with "\r\n" line ends.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (const QString& line : QString::fromStdString(text).split("\r\n"))
        lines.push_back(line.toStdString());
    if (lines.back().empty())
        lines.pop_back();
    return lines;
}

inline std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

inline std::string workedExampleText() {
    std::ifstream in(KESTAVIAN_FIXTURES "/worked_example.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::vector<std::string> itemsOf(const QComboBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->itemText(i).toStdString());
    return items;
}

// BMP and PNG files come back in another pixel format than the picture box keeps.
inline QImage rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

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
    std::string writeFile(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }
    // The name decides the span.
    std::string workedExample(const std::string& name) const {
        return writeFile(name, workedExampleText());
    }
    void open(const std::string& filePath) {
        dialogs->files.push_back(filePath);
        window->cmdOpen_Click();
    }
    // A pick made by the user in a list.
    void pick(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    QImage picture() const { return window->GA->surface().Image().copy(); }
    long timeOnLines() const {
        const auto lines = linesOf(window->txtOutText());
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("Time On: ", 0) == 0; });
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
            if (trucks > 0)
                text +=
                    truckLine(second, 0, 200, 120, 3, 1) + truckLine(second + 1, 0, 250, 100, 2, 2);
        }
        ++position;
    }
    return text;
}

} // namespace kestavian::test
