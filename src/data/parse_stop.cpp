#include <cstdio>
#include <string>

#include "data/mod_input.h"

namespace kestavian {

namespace {

bool isControlOrHigh(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte >= 0x7F;
}

// Field text may hold anything a quoted item can (line breaks, control bytes): keep it on one line.
std::string printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            shown += '\\';
            shown += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace

std::string describeStop(const ParseStop& stop) {
    std::string line = "stopped at line " + std::to_string(stop.item) + ": ";
    if (stop.field.empty())
        return line + errorDescription(stop.number) +
               (stop.detail.empty() ? "" : ": " + stop.detail);
    line += stop.field + " (columns " + std::to_string(stop.startColumn) + "-" +
            std::to_string(stop.startColumn + stop.width - 1) + ") \"" + printable(stop.text) +
            "\": " + errorDescription(stop.number);
    if (!stop.needs.empty())
        line += "; " + stop.field + " needs " + stop.needs +
                (stop.text.empty() ? ", and the line has nothing there" : "");
    // Event files are plain text: bytes that are no text there mean some other kind of file.
    for (const char c : stop.text)
        if (isControlOrHigh(c))
            return line + "; the line holds bytes that are not text: is the file compressed, or "
                          "not an event file?";
    return line;
}

} // namespace kestavian
