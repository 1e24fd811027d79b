#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace kestavian::test {

// Dialogs that answer from queues filled by the test and log every call. A call with nothing
// left to answer fails the test and answers as a cancel, so a missing answer never hangs.
class ScriptedDialogs : public Dialogs {
public:
    struct OpenFileCall {
        std::string filter;
        std::string defaultExtension;
        std::string startFolder;
    };
    struct InputBoxCall {
        std::string prompt;
        std::string title;
    };
    struct MessageBoxCall {
        std::string text;
        std::string title;
    };

    std::optional<std::string> openFile(const std::string& filter,
                                        const std::string& defaultExtension,
                                        const std::string& startFolder) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    void messageBox(const std::string& text, const std::string& title) override;

    // Answers, taken from the front: a path or nothing (cancel) for each open dialog, a reply
    // (the empty text is a cancel) for each input box.
    std::deque<std::optional<std::string>> files;
    std::deque<std::string> replies;

    // Called while each dialog is shown, as if from within the dialog's own event loop.
    std::function<void()> whileShown;

    // Every call, in order of kind.
    std::vector<OpenFileCall> openFileCalls;
    std::vector<InputBoxCall> inputBoxCalls;
    std::vector<MessageBoxCall> messageBoxCalls;
};

} // namespace kestavian::test
