#pragma once

#include <stdexcept>
#include <string>

namespace kestavian {

// Error numbers carried by RuntimeError. Handlers decide by number whether to skip a step,
// fall back or stay quiet, so the numbers are part of the behaviour, not decoration.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    InvalidPropertyValue = 380,
    Cancel = 32755,
};

// The one exception type of the program: a numbered runtime error with a readable message.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorNumber number);
    RuntimeError(ErrorNumber number, const std::string& message);

    ErrorNumber number() const noexcept { return number_; }
    int code() const noexcept { return static_cast<int>(number_); }

private:
    ErrorNumber number_;
};

// The standard text for an error number ("Overflow", "Subscript out of range", ...).
std::string errorDescription(ErrorNumber number);

[[noreturn]] void raiseError(ErrorNumber number);
[[noreturn]] void raiseError(ErrorNumber number, const std::string& message);

} // namespace kestavian
