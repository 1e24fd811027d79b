#include "cli/event_file.h"

#include <QFile>
#include <cmath>
#include <filesystem>

#include "platform/given_file_dialogs.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

namespace {

constexpr long MaxItems = 32767;

// Why a path is not a readable event file, told before reading so the message can be specific.
std::string unreadableReason(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return "no such file";
    if (fs::is_directory(status))
        return "it is a folder";
    if (!ec && !fs::is_regular_file(status))
        return "not a regular file";
    return {};
}

} // namespace

bool EventFile::load(const QString& path, std::int16_t noEffects, std::string& reason) {
    const std::string localPath = QFile::encodeName(path).toStdString();
    reason = unreadableReason(localPath);
    if (!reason.empty())
        return false;

    GivenFileDialogs dialogs(localPath);
    std::string editorText;
    if (!SelectEventFile(dialogs, store_, editorText)) {
        // The reader keeps the items taken before it failed: a full list means the limit.
        if (store_.FileLines.size() == MaxItems) {
            reason = "it holds more than 32767 items";
        } else {
            QFile file(path);
            reason = file.open(QIODevice::ReadOnly) ? "it cannot be read"
                                                    : file.errorString().toStdString();
        }
        return false;
    }

    ParseStop stop;
    try {
        ParseEventFile(store_, noEffects, &stop);
    } catch (const RuntimeError&) {
        // The events before the stop stay, as in the viewer.
        stop_ = stop;
    }
    return true;
}

std::optional<float> EventFile::spanFromName() const {
    return UsableSpan(SpanTextFromFileName(store_.FileName));
}

bool loadForCommand(EventFile& file, const QString& path, std::int16_t noEffects, bool noteStop,
                    std::ostream& err) {
    std::string reason;
    if (!file.load(path, noEffects, reason)) {
        err << "kestavian-cli: cannot read " << path.toStdString() << ": " << reason << '\n';
        return false;
    }
    if (noteStop && file.stop())
        err << "kestavian-cli: note: only the events before the bad line are taken; "
            << DescribeStop(*file.stop()) << '\n';
    return true;
}

std::optional<float> spanForCommand(const std::optional<float>& given, const EventFile& file,
                                    std::ostream& err) {
    if (given)
        return given;
    if (const std::optional<float> fromName = file.spanFromName())
        return fromName;
    err << "kestavian-cli: the file name holds no span between its first two \"_\"; give --span S"
        << '\n';
    return std::nullopt;
}

std::optional<ViewSettings> loadWithSpan(EventFile& file, const CommonOptions& options,
                                         std::ostream& err) {
    if (!loadForCommand(file, options.file, options.view.NoEffects, true, err))
        return std::nullopt;
    const std::optional<float> span = spanForCommand(options.span, file, err);
    if (!span)
        return std::nullopt;
    ViewSettings view = options.view;
    view.Span = *span;
    return view;
}

} // namespace kestavian::cli
