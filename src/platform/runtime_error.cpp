#include "platform/runtime_error.h"

namespace kestavian {

std::string errorDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidProcedureCall:
        return "Invalid procedure call or argument";
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::SubscriptOutOfRange:
        return "Subscript out of range";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::TypeMismatch:
        return "Type mismatch";
    case ErrorNumber::FileNotFound:
        return "File not found";
    case ErrorNumber::PermissionDenied:
        return "Permission denied";
    case ErrorNumber::PathFileAccessError:
        return "Path/File access error";
    case ErrorNumber::InvalidPropertyValue:
        return "Invalid property value";
    case ErrorNumber::Cancel:
        return "Cancel was selected";
    }
    return "Application-defined or object-defined error";
}

RuntimeError::RuntimeError(ErrorNumber number)
    : std::runtime_error(errorDescription(number)), number_(number) {}

RuntimeError::RuntimeError(ErrorNumber number, const std::string& message)
    : std::runtime_error(message), number_(number) {}

void raiseError(ErrorNumber number) {
    throw RuntimeError(number);
}

void raiseError(ErrorNumber number, const std::string& message) {
    throw RuntimeError(number, message);
}

} // namespace kestavian
