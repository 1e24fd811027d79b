#pragma once

#include <optional>
#include <string>

#include "platform/dialogs.h"

namespace kestavian {

// Dialogs for running without a person: the open dialog answers with a file chosen beforehand,
// an input box is cancelled, a message box is dismissed.
class GivenFileDialogs : public Dialogs {
public:
    explicit GivenFileDialogs(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> openFile(const std::string&, const std::string&) override {
        return path_;
    }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }
    void messageBox(const std::string&, const std::string&) override {}

private:
    std::string path_;
};

} // namespace kestavian
