#include <cstdio>
#include <string>

#include "data/mod_input.h"

namespace kestavian {

namespace {
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
    if (!stop.field.empty())
        line += stop.field + " (columns " + std::to_string(stop.startColumn) + "-" +
                std::to_string(stop.startColumn + stop.width - 1) + ") \"" + printable(stop.text) +
                "\": ";
    return line + errorDescription(stop.number);
}

} // namespace kestavian
