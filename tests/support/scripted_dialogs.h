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
    std::optional<SaveChoice> saveFile(const std::vector<std::string>& filters,
                                       const std::string& startPath) override {
        saveFileCalls.push_back({filters, startPath});
        shown();
        return take(saves, "a save dialog").value_or(std::nullopt);
    }
    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& title) override {
        inputBoxCalls.push_back({prompt, title});
        shown();
        return take(replies, "an input box").value_or(std::nullopt);
    }
    void messageBox(const std::string& text, const std::string& title) override {
        messageBoxCalls.push_back({text, title});
        shown();
    }

    // Answers, taken from the front: a path or nothing (cancel) for each open dialog, a choice or
    // nothing for each save dialog, a reply or nothing (cancel) for each input box.
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<SaveChoice>> saves;
    std::deque<std::optional<std::string>> replies;
    // Called while each dialog is shown, as if from within the dialog's own event loop.
    std::function<void()> whileShown;

    struct SaveFileCall {
        std::vector<std::string> filters;
        std::string startPath;
    };
    std::vector<OpenFileCall> openFileCalls;
    std::vector<SaveFileCall> saveFileCalls;
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
