#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime_error.h"

namespace kestavian {

// Where a field sits in a line: its name (for reports), first column (1-based) and width.
struct FieldLayout {
    const char* name;
    int startColumn;
    int width;
};

// A field that did not convert. Carries the number of the conversion error, so a handler
// sees the same error as from a plain conversion, plus which field it was and its text.
class FieldError : public RuntimeError {
public:
    // needs: what the field must hold, in plain words ("a number").
    FieldError(ErrorNumber number, const FieldLayout& field, std::string_view text,
               const char* needs);

    const FieldLayout& field() const noexcept { return field_; }
    const std::string& text() const noexcept { return text_; }
    const char* needs() const noexcept { return needs_; }

private:
    FieldLayout field_;
    std::string text_;
    const char* needs_;
};

// The characters of item from startColumn on, at most width of them, trimmed of spaces at both
// ends. A line that ends inside the field gives what it has; one that ends before startColumn
// gives the empty text. startColumn below 1 or a negative width is an invalid-call error.
std::string_view cutField(std::string_view item, int startColumn, int width);

// Cut and convert a field; a text that does not convert raises a FieldError.
std::int16_t readInt16Field(std::string_view item, const FieldLayout& field);
std::int32_t readInt32Field(std::string_view item, const FieldLayout& field);
double readDoubleField(std::string_view item, const FieldLayout& field);

} // namespace kestavian
