#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/dialogs.h"

namespace kestavian::test {

// Dialogs that answer from queues filled by the test and log every call. A call with nothing
// left to answer fails the test and answers as a cancel, so a missing answer never hangs.
class ScriptedDialogs : public Dialogs {
public:
    struct OpenFileCall {
        std::string filter, defaultExtension, startFolder;
    };
    struct Call {
        std::string text, title;
    };

    std::optional<std::string> openFile(const std::string& filter, const std::string& extension,
                                        const std::string& startFolder) override {
        openFileCalls.push_back({filter, extension, startFolder});
        shown();
        return take(files, "an open dialog").value_or(std::nullopt);
    }
    std::string inputBox(const std::string& prompt, const std::string& title) override {
        inputBoxCalls.push_back({prompt, title});
        shown();
        return take(replies, "an input box").value_or("");
    }
    void messageBox(const std::string& text, const std::string& title) override {
        messageBoxCalls.push_back({text, title});
        shown();
    }

    // Answers, taken from the front: a path or nothing (cancel) for each open dialog, a reply
    // (the empty text is a cancel) for each input box.
    std::deque<std::optional<std::string>> files;
    std::deque<std::string> replies;
    // Called while each dialog is shown, as if from within the dialog's own event loop.
    std::function<void()> whileShown;

    std::vector<OpenFileCall> openFileCalls;
    std::vector<Call> inputBoxCalls, messageBoxCalls;

private:
    void shown() const {
        if (whileShown)
            whileShown();
    }
    template <typename T> static std::optional<T> take(std::deque<T>& queue, const char* what) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return std::nullopt;
        }
        T front = std::move(queue.front());
        queue.pop_front();
        return front;
    }
};

} // namespace kestavian::test
