#pragma once

#include <optional>
#include <string>

#include "window/dialogs.h"

namespace kestavian::bench {

// Dialogs for running the window without a person: the open dialog answers with one file, an
// input box is cancelled, a message box is dismissed.
class OneFileDialogs : public Dialogs {
public:
    explicit OneFileDialogs(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return path_;
    }
    std::optional<SaveChoice> saveFile(const std::vector<std::string>&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void messageBox(const std::string&, const std::string&) override {}

private:
    std::string path_;
};

} // namespace kestavian::bench
