#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <utility>

namespace kestavian::test {

std::optional<std::string> ScriptedDialogs::openFile(const std::string& filter,
                                                     const std::string& defaultExtension,
                                                     const std::string& startFolder) {
    openFileCalls.push_back({filter, defaultExtension, startFolder});
    if (whileShown)
        whileShown();
    if (files.empty()) {
        ADD_FAILURE() << "unexpected open dialog (filter \"" << filter << "\")";
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(files.front());
    files.pop_front();
    return answer;
}

std::string ScriptedDialogs::inputBox(const std::string& prompt, const std::string& title) {
    inputBoxCalls.push_back({prompt, title});
    if (whileShown)
        whileShown();
    if (replies.empty()) {
        ADD_FAILURE() << "unexpected input box \"" << prompt << "\"";
        return {};
    }
    std::string reply = std::move(replies.front());
    replies.pop_front();
    return reply;
}

void ScriptedDialogs::messageBox(const std::string& text, const std::string& title) {
    messageBoxCalls.push_back({text, title});
    if (whileShown)
        whileShown();
}

} // namespace kestavian::test
