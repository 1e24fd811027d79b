#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestavian {

// The modal dialogs the program uses. The window supplies the Qt ones; tests supply scripted
// ones, so no test ever waits for a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Open-file dialog, starting in startFolder (the current folder when empty). filter is in the
    // "Text files|*.txt|All files|*.*" form; only an existing file can be chosen; a name typed
    // without extension that does not exist as typed gets defaultExtension. Returns the full
    // path, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const std::string& filter,
                                                const std::string& defaultExtension,
                                                const std::string& startFolder) = 0;

    // Save-file dialog for one of several file types, starting at startPath (a folder and a
    // suggested name). filters are "Description (*.ext)" texts; the user confirms replacing a
    // file. Returns the path and the index of the type chosen, or nothing when the user
    // cancelled.
    struct SaveChoice {
        std::string path;
        int filter = 0;
    };
    virtual std::optional<SaveChoice> saveFile(const std::vector<std::string>& filters,
                                               const std::string& startPath) = 0;

    // Input box with a prompt and a title and no default text. Returns the reply (which may be
    // empty), or nothing when the user cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt,
                                                const std::string& title) = 0;

    // Message box with an OK button only.
    virtual void messageBox(const std::string& text, const std::string& title) = 0;
};

} // namespace kestavian
