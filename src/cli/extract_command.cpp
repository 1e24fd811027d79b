#include "cli/extract_command.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/command_file.h"
#include "cli/command_main.h"
#include "data/item_reader.h"
#include "data/mod_input.h"
#include "platform/local_numbers.h"
#include "platform/read_only_file.h"

namespace kestavian::cli {

namespace {

struct ExtractOptions : CommonOptions {
    EventChoice choice;
    std::string out;
};

const Option ExtractOutOption{"out", "OUT", "The event file to write."};

ParsedArguments parseExtractArguments(const Arguments& arguments, ExtractOptions& options) {
    CommandLine line(
        {EventsOption, TopOption, BottomOption, EffectFilterOption, ExtractOutOption,
         EffectsOption},
        "extract FILE (--events LIST | --top K [--effect N] | --bottom K [--effect N]) --out OUT "
        "[--effects N]",
        "Writes the chosen events, in file order and each once, into OUT, every line as it "
        "stands in FILE, so that the viewer can open them. --top takes the events holding the "
        "top K rows of list. OUT is refused when it would hold more than the viewer's 32767 "
        "lines. Exit status 1 when FILE is taken only up to a bad line.");
    const ParsedArguments parsed =
        firstFailure({readFileAndEffects(line, arguments, options),
                      readEventChoice(line, EffectFilterOption, options.choice)});
    if (!parsed.runs())
        return parsed;
    if (!options.choice.listed && !options.choice.rows.ranking)
        return failure("--events LIST, --top K or --bottom K is needed");
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

std::optional<FileIdentity> identityOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity(status);
}

// Copies the byte ranges of the file at fd into out, counting the items the viewer would read
// from what is written. False when the file ends before a range does.
bool copyRanges(int fd, const std::map<std::uint64_t, ByteRange>& events, QSaveFile& out,
                std::uint64_t& items) {
    std::vector<char> buffer(std::size_t{1} << 16);
    ItemStream stream;
    for (const auto& [position, range] : events)
        for (std::uint64_t at = range.begin; at < range.end;) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), range.end - at));
            const ssize_t n = ::pread(fd, buffer.data(), want, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            const std::string_view chunk(buffer.data(), static_cast<std::size_t>(n));
            stream.feed(chunk);
            while (stream.next())
                ++items;
            out.write(chunk.data(), static_cast<qint64>(chunk.size()));
            at += static_cast<std::uint64_t>(n);
        }
    items += stream.finish() ? 1 : 0;
    return true;
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
    const std::string& path = options.file;
    const std::optional<FileIdentity> before = identityOf(path);
    // Each chosen event once, in file order, with its lines' bytes.
    std::map<std::uint64_t, ByteRange> chosen;
    std::optional<RowRanking> ranking = options.choice.rows.newRanking();
    const std::optional<StreamOutcome> read =
        streamCommandFile(options, console, [&](const ParsedEvent& parsed) {
            if (options.choice.listed) {
                if (options.choice.listed->contains(parsed.position))
                    chosen.emplace(parsed.position, parsed.bytes);
                return;
            }
            options.choice.rows.forEachKept(parsed,
                                            [&](const EffectRow& row) { ranking->add(row); });
        });
    if (!read)
        return ExitUsage;
    noteStop(*read, console);
    if (ranking)
        for (const EffectRow& row : ranking->take())
            chosen.emplace(row.position, row.bytes);

    const auto refuse = [&](const std::string& why) {
        return console.fail(why + "; " + options.out + " is not written");
    };
    const auto cannotWrite = [&](const QSaveFile& out) {
        return console.fail("cannot write " + options.out + ": " + out.errorString().toStdString());
    };
    if (options.choice.listed && options.choice.listed->last() > read->events)
        return refuse("--events asks for event " + std::to_string(options.choice.listed->last()) +
                      ", but the file holds " + std::to_string(read->events));
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

    const ReadOnlyFile file(path);
    const int fd = file.fd();
    if (fd < 0 || !before || identityOf(fd) != before)
        return refuse(options.file + " changed while it was read");

    QSaveFile out(QFile::decodeName(options.out.c_str()));
    if (!out.open(QIODevice::WriteOnly))
        return cannotWrite(out);
    std::uint64_t items = 0;
    if (!copyRanges(fd, chosen, out, items) || identityOf(fd) != before) {
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
