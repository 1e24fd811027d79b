#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestavian {

// Number text in the system's locale. Everything else in the number rules is the same on every
// system; only the decimal separator the user reads and types is the locale's.

// The system's decimal separator: that of the default locale, which is the user's unless the
// program sets another.
std::string decimalSeparator();

// Numbers as the user reads them: the general form with the system's decimal separator
// ("32,5" under a locale that writes a comma).
std::string localGeneralForm(double value);
std::string localGeneralForm(float value);

// A number the user typed or named, in the form the text-to-number rules read: the system's
// decimal separator becomes a point. A point stays a decimal point in every locale, so
// "32.5" is 32.5 m whatever the system writes.
std::string withDecimalPoint(std::string_view text);

// The span a text gives: a number of metres greater than zero that fits a Single, written with
// a point or the system's decimal separator; nothing for any other text.
std::optional<float> usableSpan(const std::string& text);

} // namespace kestavian
