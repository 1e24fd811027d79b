#include "cli/event_file.h"

#include <QFile>

#include "data/event_file_reader.h"
#include "platform/numbers.h"
#include "platform/runtime_error.h"

namespace kestavian::cli {

bool EventFile::load(const QString& path, std::int16_t noEffects, std::string& reason) {
    const std::string localPath = QFile::encodeName(path).toStdString();
    FileItems read = ReadFileItems(localPath, ViewerReadLimits);
    if (read.failure) {
        reason = read.failure->text;
        return false;
    }
    for (std::string& item : read.items)
        store_.FileLines.append(std::move(item));
    store_.FileName = BareFileName(localPath);

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
