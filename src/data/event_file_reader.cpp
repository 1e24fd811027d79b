#include "data/event_file_reader.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "data/item_reader.h"
#include "data/mod_input.h"
#include "platform/read_only_file.h"

namespace kestavian {

namespace {

ReadFailure systemFailure(int error) {
    if (error == ENOENT)
        return {ReadFailureKind::NoSuchFile, "no such file"};
    return {ReadFailureKind::SystemError, std::generic_category().message(error)};
}

std::optional<ReadFailure> kindFailure(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        return ReadFailure{ReadFailureKind::Folder, "it is a folder"};
    if (!S_ISREG(status.st_mode))
        return ReadFailure{ReadFailureKind::NotRegularFile, "not a regular file"};
    return std::nullopt;
}

ReadFailure tooManyBytes(std::uint64_t maxBytes) {
    return {ReadFailureKind::TooLarge, "it is larger than " + std::to_string(maxBytes) + " bytes"};
}

// Opens path as a regular file and hands its bytes to onChunk in pieces of at most chunkBytes,
// until the file ends or onChunk returns false. The failure, or nothing.
std::optional<ReadFailure> readChunks(const std::string& path, std::uint64_t maxBytes,
                                      std::size_t chunkBytes,
                                      const std::function<bool(std::string_view)>& onChunk,
                                      const ReadProgress& onProgress) {
    // The system would take the name only up to a NUL, and so read another file.
    if (path.find('\0') != std::string::npos)
        return ReadFailure{ReadFailureKind::NoSuchFile, "no such file"};
    // Looked at before opening: opening a device can have effects of its own.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return systemFailure(errno);
    if (std::optional<ReadFailure> failure = kindFailure(status))
        return failure;

    const ReadOnlyFile file(path);
    const int fd = file.fd();
    if (fd < 0)
        return systemFailure(errno);
    if (::fstat(fd, &status) != 0)
        return systemFailure(errno);
    if (std::optional<ReadFailure> failure = kindFailure(status))
        return failure;
    const auto totalBytes = static_cast<std::uint64_t>(status.st_size);
    if (totalBytes > maxBytes)
        return tooManyBytes(maxBytes);

    chunkBytes = std::max<std::size_t>(chunkBytes, 1); // a read of 0 bytes would look like the end
    const std::unique_ptr<char[]> buffer(new char[chunkBytes]);
    std::uint64_t bytesRead = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), chunkBytes);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return systemFailure(errno);
        }
        if (n == 0)
            return std::nullopt;
        bytesRead += static_cast<std::uint64_t>(n);
        // Checked as it is read too: the file may grow while it is read.
        if (bytesRead > maxBytes)
            return tooManyBytes(maxBytes);
        if (onProgress)
            onProgress(bytesRead, totalBytes);
        if (!onChunk(std::string_view(buffer.get(), static_cast<std::size_t>(n))))
            return std::nullopt;
    }
}

// The file's items by the reading rule, each cut to keepBytes, handed to onItem until it returns
// false. The failure, or nothing.
std::optional<ReadFailure> readItems(const std::string& path, std::uint64_t maxBytes,
                                     std::size_t chunkBytes, std::size_t keepBytes,
                                     const std::function<bool(const Item&)>& onItem,
                                     const ReadProgress& onProgress) {
    ItemStream stream(keepBytes);
    bool more = true;
    std::optional<ReadFailure> failure = readChunks(
        path, maxBytes, chunkBytes,
        [&](std::string_view chunk) {
            stream.feed(chunk);
            std::optional<Item> item;
            while (more && (item = stream.next()))
                more = onItem(*item);
            return more;
        },
        onProgress);
    if (!failure && more)
        if (const std::optional<Item> last = stream.finish())
            onItem(*last);
    return failure;
}

} // namespace

FileItems readFileItems(const std::string& path, const ReadLimits& limits) {
    FileItems read;
    // Keeps the item, refusing the file once it holds more than the limit allows.
    const auto keep = [&](const Item& item) {
        read.items.emplace_back(item.text);
        if (read.items.size() <= limits.maxItems)
            return true;
        read.failure =
            ReadFailure{ReadFailureKind::TooLarge,
                        "it holds more than " + std::to_string(limits.maxItems) + " items"};
        return false;
    };
    if (std::optional<ReadFailure> failure =
            readItems(path, limits.maxBytes, std::size_t{1} << 16,
                      std::numeric_limits<std::size_t>::max(), keep, {}))
        read.failure = std::move(failure);
    return read;
}

StreamOutcome streamEventFile(const std::string& path, std::int16_t noEffects,
                              const EventParser::EventSink& onEvent, const ReadProgress& onProgress,
                              std::size_t chunkBytes) {
    StreamOutcome outcome;
    EventParser parser({noEffects, std::numeric_limits<std::uint64_t>::max(), false},
                       [&](ParsedEvent& event) {
                           ++outcome.events;
                           onEvent(event);
                       });
    try {
        outcome.failure = readItems(
            path, std::numeric_limits<std::uint64_t>::max(), chunkBytes, LastColumnRead,
            [&](const Item& item) {
                parser.push(item);
                return true;
            },
            onProgress);
        if (!outcome.failure)
            parser.finish();
    } catch (const RuntimeError&) {
        if (!parser.stop()) // not the file's: the receiver's own
            throw;
    }
    outcome.stop = parser.stop();
    return outcome;
}

} // namespace kestavian
