#include "platform/local_numbers.h"

#include <QLocale>
#include <cmath>

#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian {

std::string decimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}

namespace {
std::string replaceFirst(std::string text, std::string_view from, std::string_view to) {
    if (from == to)
        return text;
    if (const std::size_t at = text.find(from); at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}
} // namespace

std::string localGeneralForm(double value) {
    return replaceFirst(generalForm(value), ".", decimalSeparator());
}

std::string localGeneralForm(float value) {
    return replaceFirst(generalForm(value), ".", decimalSeparator());
}

std::string withDecimalPoint(std::string_view text) {
    const std::string separator = decimalSeparator();
    // A text with a point already has its decimal point; the separator is then something else.
    if (separator.empty() || text.find('.') != std::string_view::npos)
        return std::string(text);
    return replaceFirst(std::string(text), separator, ".");
}

std::optional<float> usableSpan(const std::string& typed) {
    const std::string text = withDecimalPoint(typed);
    if (!isNumeric(text))
        return std::nullopt;
    try {
        const float span = textToSingle(text);
        if (std::isfinite(span) && span > 0.0f)
            return span;
    } catch (const RuntimeError&) {
    }
    return std::nullopt;
}

} // namespace kestavian
