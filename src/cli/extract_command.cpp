#include "cli/extract_command.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <sys/stat.h>

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/item_reader.h"
#include "data/mod_input.h"
#include "platform/local_numbers.h"

namespace kestavian::cli {

namespace {

struct ExtractOptions : CommonOptions {
    EventChoice choice;
    std::string out;
};

const Option ExtractOutOption{"out", "OUT", "The event file to write."};

ParsedArguments parseExtractArguments(const Arguments& arguments, ExtractOptions& options) {
    CommandLine line(
        {EventsOption, PositionsOption, TopOption, BottomOption, EffectFilterOption,
         ExtractOutOption, EffectsOption},
        "extract FILE (--events LIST | --positions LIST | --top K [--effect N] | --bottom K "
        "[--effect N]) --out OUT [--effects N]",
        "Writes the chosen events, in file order and each once, into OUT, every line as it "
        "stands in FILE (decompressed, when FILE is gzip), so that the viewer can open them. --top "
        "takes the events holding the top K rows of list. OUT is refused when it would hold more "
        "than the viewer's 32767 lines. FILE is read twice, so it cannot be standard input. Exit "
        "status 1 when FILE is taken only up to a bad line, or holds no event.");
    const ParsedArguments parsed =
        firstFailure({readFileAndEffects(line, arguments, options),
                      readEventChoice(line, EffectFilterOption, options.choice)});
    if (!parsed.runs())
        return parsed;
    if (!options.choice.listed && !options.choice.rows.ranking)
        return failure("--events LIST, --positions LIST, --top K or --bottom K is needed");
    options.out = line.value(ExtractOutOption);
    if (options.out.empty())
        return failure("--out OUT is needed");
    return {};
}

// What tells whether a file is still the one that was read: which file, its size and when it
// was last written.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    explicit FileIdentity(const struct stat& status)
        : device(status.st_dev), inode(status.st_ino), size(status.st_size),
          modifiedSeconds(status.st_mtim.tv_sec), modifiedNanoseconds(status.st_mtim.tv_nsec) {}
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity(status);
}

// Copies the byte ranges of the file's data (decompressed, when it is gzip) into out, counting
// the items the viewer would read from what is written. False when the data ends before a range
// does, or cannot be read again.
bool copyRanges(const std::string& path, const std::map<std::uint64_t, ByteRange>& events,
                QSaveFile& out, std::uint64_t& items) {
    ItemStream stream;
    auto next = events.begin();
    std::uint64_t at = 0; // where the chunk starts in the data
    const std::optional<ReadFailure> failure = readBytes(
        path, {UINT64_MAX, true, false}, std::size_t{1} << 16, [&](std::string_view chunk) {
            const std::uint64_t end = at + chunk.size();
            for (; next != events.end() && next->second.begin < end; ++next) {
                const ByteRange& range = next->second;
                const std::uint64_t from = std::max(range.begin, at);
                const std::uint64_t to = std::min(range.end, end);
                const std::string_view piece = chunk.substr(from - at, to - from);
                stream.feed(piece);
                while (stream.next())
                    ++items;
                out.write(piece.data(), static_cast<qint64>(piece.size()));
                if (range.end > end)
                    break;
            }
            at = end;
            return next != events.end();
        });
    items += stream.finish() ? 1 : 0;
    return !failure && next == events.end();
}

// The viewer asks for the span when the name holds none: say how to name the extract instead.
void noteSpanlessName(const ExtractOptions& options, const Console& console) {
    const std::string outName = bareFileName(options.out);
    if (usableSpan(spanTextFromFileName(outName)))
        return;
    const std::string spanText = spanTextFromFileName(bareFileName(options.file));
    const bool known = usableSpan(spanText).has_value();
    console.note(outName +
                 " holds no span between its first two \"_\", so the viewer will ask for it; a "
                 "name such as Events_" +
                 (known ? spanText : "<span>") + "_" + outName + " gives it" +
                 (known ? " (the span of " + bareFileName(options.file) + ")" : std::string()));
}

int runExtract(const ExtractOptions& options, const Console& console) {
    if (refuseStandardInput(options, "extract", console))
        return ExitUsage;
    const std::string& path = options.file;
    const std::optional<FileIdentity> before = identityOf(path);
    // Each chosen event once, in file order, with its lines' bytes.
    std::map<std::uint64_t, ByteRange> chosen;
    std::optional<RowRanking> ranking = options.choice.rows.newRanking();
    ListedNumbers numbers(options.choice);
    EffectNumbers effects;
    const std::optional<StreamOutcome> read =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) {
            effects.add(parsed);
            if (options.choice.listed) {
                numbers.add(parsed);
                if (options.choice.lists(parsed))
                    chosen.emplace(parsed.position, parsed.bytes);
                return;
            }
            options.choice.rows.forEachKept(parsed,
                                            [&](const EffectRow& row) { ranking->add(row); });
        });
    if (!read)
        return ExitUsage;
    noteStop(*read, options, console);
    if (reportNoEvent(*read, options, console))
        return ExitStopped;
    if (reportUnknownEffect(options.choice.rows.effectNo, effects, console))
        return ExitUsage;
    if (ranking)
        for (const EffectRow& row : ranking->take())
            chosen.emplace(row.position, row.bytes);

    const auto refuse = [&](const std::string& why) {
        return console.fail(why + "; " + options.out + " is not written");
    };
    const auto cannotWrite = [&](const QSaveFile& out) {
        return console.fail("cannot write " + options.out + ": " + out.errorString().toStdString());
    };
    if (options.choice.byNumber)
        if (const std::string problem = numbers.problem("--events"); !problem.empty())
            return refuse(problem);
    if (options.choice.listed && !options.choice.byNumber &&
        options.choice.listed->last() > read->events)
        return refuse("--positions asks for event " +
                      std::to_string(options.choice.listed->last()) + ", but the file holds " +
                      std::to_string(read->events));
    if (chosen.empty())
        return refuse("no event is chosen");
    std::uint64_t bytes = 0;
    for (const auto& [position, range] : chosen)
        bytes += range.end - range.begin;
    if (bytes > ViewerReadLimits.maxBytes)
        return refuse("the events chosen are " + std::to_string(bytes) +
                      " bytes, more than the viewer's " +
                      std::to_string(ViewerReadLimits.maxBytes));
    // Written over its own source, the extract would lose the rest of the file.
    if (const auto target = identityOf(options.out);
        target && before && target->device == before->device && target->inode == before->inode)
        return refuse("--out names the event file itself");

    QSaveFile out(QFile::decodeName(options.out.c_str()));
    if (!out.open(QIODevice::WriteOnly))
        return cannotWrite(out);
    std::uint64_t items = 0;
    if (!before || !copyRanges(path, chosen, out, items) || identityOf(path) != before) {
        out.cancelWriting();
        return refuse(options.file + " changed while it was read");
    }
    if (items > ViewerReadLimits.maxItems) {
        out.cancelWriting();
        return refuse("the events chosen hold " + std::to_string(items) +
                      " lines, more than the viewer's " +
                      std::to_string(ViewerReadLimits.maxItems));
    }
    if (!out.commit())
        return cannotWrite(out);
    noteSpanlessName(options, console);
    return read->stop ? ExitStopped : ExitOk;
}

} // namespace

int runExtractCommand(const Arguments& arguments, const Console& console) {
    ExtractOptions options;
    const ParsedArguments parsed = parseExtractArguments(arguments, options);
    return runParsed(parsed, console, [&] { return runExtract(options, console); });
}

} // namespace kestavian::cli
