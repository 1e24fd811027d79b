#include "data/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <zlib.h>

#include "platform/read_only_file.h"

namespace kestavian {

namespace {

ReadFailure systemFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return {ReadFailureKind::NoSuchFile, "no such file", {}};
    case EACCES:
    case EPERM:
        return {ReadFailureKind::PermissionDenied, "permission denied", {}};
    default:
        return {ReadFailureKind::SystemError, std::generic_category().message(error), {}};
    }
}

std::optional<ReadFailure> kindFailure(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        return ReadFailure{ReadFailureKind::Folder, "it is a folder", {}};
    if (!S_ISREG(status.st_mode))
        return ReadFailure{ReadFailureKind::NotRegularFile, "not a regular file", {}};
    return std::nullopt;
}

ReadFailure tooManyBytes(std::uint64_t maxBytes) {
    return {
        ReadFailureKind::TooLarge, "it is larger than " + std::to_string(maxBytes) + " bytes", {}};
}

// The compressed formats a simulation's output is likely to come in, by their first bytes. An
// event file starts with a digit, so none of these is one.
struct CompressedFormat {
    std::string_view magic;
    const char* name;
};
constexpr std::string_view GzipMagic{"\x1F\x8B", 2};
constexpr CompressedFormat CompressedFormats[] = {
    {GzipMagic, "gzip"},
    {std::string_view{"\xFD"
                      "7zXZ\0",
                      6},
     "xz"},
    {"BZh", "bzip2"},
    {"\x28\xB5\x2F\xFD", "zstd"},
    {"PK\x03\x04", "zip"},
    {"7z\xBC\xAF\x27\x1C", "7z"},
};
constexpr std::size_t LongestMagic = 6;

const CompressedFormat* compressionOf(std::string_view head) {
    for (const CompressedFormat& format : CompressedFormats)
        if (head.substr(0, format.magic.size()) == format.magic)
            return &format;
    return nullptr;
}

// Raw bytes from a descriptor, counted against the limit and reported as progress.
class RawReader {
public:
    RawReader(int fd, std::uint64_t totalBytes, std::uint64_t maxBytes,
              const ReadProgress& progress)
        : fd_(fd), totalBytes_(totalBytes), maxBytes_(maxBytes), progress_(progress) {}

    // Up to size bytes into buffer; 0 at the end.
    std::optional<ReadFailure> read(char* buffer, std::size_t size, std::size_t& got) {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return systemFailure(errno);
            got = static_cast<std::size_t>(n);
            bytesRead_ += got;
            // Checked as it is read too: the file may grow while it is read.
            if (bytesRead_ > maxBytes_)
                return tooManyBytes(maxBytes_);
            return std::nullopt;
        }
    }

    // Told on the caller's thread, once the bytes read are handed on.
    void reportProgress() const {
        if (progress_)
            progress_(bytesRead_, totalBytes_);
    }

private:
    int fd_;
    std::uint64_t totalBytes_;
    std::uint64_t maxBytes_;
    const ReadProgress& progress_;
    std::uint64_t bytesRead_ = 0;
};

// gzip data decompressed piece by piece; concatenated members read as one stream, as gzip does.
class Inflater {
public:
    explicit Inflater(std::size_t outBytes) : out_(new char[outBytes]), outBytes_(outBytes) {
        ready_ = inflateInit2(&stream_, 16 + MAX_WBITS) == Z_OK;
    }
    ~Inflater() {
        if (ready_)
            inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Decompresses the input, handing the output to onData. Sets `stopped` when onData asks to
    // stop.
    std::optional<ReadFailure> feed(std::string_view input,
                                    const std::function<bool(std::string_view)>& onData,
                                    bool& stopped) {
        if (!ready_)
            return ReadFailure{ReadFailureKind::SystemError, "cannot start decompressing", {}};
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        stream_.avail_in = static_cast<uInt>(input.size());
        do {
            if (ended_) {
                // More after the end of a member: the next member.
                inflateReset(&stream_);
                ended_ = false;
            }
            stream_.next_out = reinterpret_cast<Bytef*>(out_.get());
            stream_.avail_out = static_cast<uInt>(outBytes_);
            const int result = inflate(&stream_, Z_NO_FLUSH);
            const std::size_t produced = outBytes_ - stream_.avail_out;
            if (result == Z_STREAM_END)
                ended_ = true;
            else if (result != Z_OK && result != Z_BUF_ERROR)
                return damaged(stream_.msg != nullptr ? stream_.msg : "it does not decompress");
            if (produced > 0 && !onData(std::string_view(out_.get(), produced))) {
                stopped = true;
                return std::nullopt;
            }
            if (result == Z_BUF_ERROR && produced == 0)
                break;
        } while (stream_.avail_in > 0 || stream_.avail_out == 0);
        return std::nullopt;
    }

    // The input is over: it must have ended with a whole member.
    std::optional<ReadFailure> finish() const {
        if (!ended_)
            return damaged("the gzip data ends before its end (is the file cut short?)");
        return std::nullopt;
    }

private:
    static ReadFailure damaged(const std::string& why) {
        return {ReadFailureKind::Damaged, "damaged gzip data: " + why, "gzip"};
    }

    z_stream stream_{};
    bool ready_ = false;
    bool ended_ = false;
    std::unique_ptr<char[]> out_;
    std::size_t outBytes_;
};

} // namespace

bool namesStandardInput(const std::string& path) {
    return path == "-" || path == "/dev/stdin";
}

std::optional<ReadFailure> readBytes(const std::string& path, const ByteSourceRules& rules,
                                     std::size_t chunkBytes,
                                     const std::function<bool(std::string_view)>& onData,
                                     const ReadProgress& onProgress) {
    std::optional<ReadOnlyFile> file;
    int fd = STDIN_FILENO;
    std::uint64_t totalBytes = 0;
    struct stat status {};
    if (!(rules.standardInput && namesStandardInput(path))) {
        // The system would take the name only up to a NUL, and so read another file.
        if (path.find('\0') != std::string::npos)
            return ReadFailure{ReadFailureKind::NoSuchFile, "no such file", {}};
        // Looked at before opening: opening a device can have effects of its own.
        if (::stat(path.c_str(), &status) != 0)
            return systemFailure(errno);
        if (std::optional<ReadFailure> failure = kindFailure(status))
            return failure;
        fd = file.emplace(path).fd();
        if (fd < 0)
            return systemFailure(errno);
        if (::fstat(fd, &status) != 0)
            return systemFailure(errno);
        if (std::optional<ReadFailure> failure = kindFailure(status))
            return failure;
        totalBytes = static_cast<std::uint64_t>(status.st_size);
        if (totalBytes > rules.maxBytes)
            return tooManyBytes(rules.maxBytes);
    } else if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        totalBytes = static_cast<std::uint64_t>(status.st_size);
    }

    // Room for the longest magic number, so that the first bytes tell a compressed file.
    chunkBytes = std::max(chunkBytes, LongestMagic);
    const std::unique_ptr<char[]> buffer(new char[chunkBytes]);
    RawReader raw(fd, totalBytes, rules.maxBytes, onProgress);
    // The first bytes; a pipe may give fewer at a time than asked.
    std::size_t filled = 0;
    for (std::size_t got = 1; filled < LongestMagic && got > 0;) {
        if (std::optional<ReadFailure> failure =
                raw.read(buffer.get() + filled, chunkBytes - filled, got))
            return failure;
        filled += got;
        if (got > 0)
            raw.reportProgress();
    }
    const CompressedFormat* compression = compressionOf(std::string_view(buffer.get(), filled));
    const bool inflate = compression != nullptr && compression->magic == GzipMagic && rules.gzip;
    if (compression != nullptr && !inflate)
        return ReadFailure{ReadFailureKind::Compressed,
                           std::string("it is compressed (") + compression->name + ")",
                           compression->name};

    std::optional<Inflater> inflater;
    if (inflate)
        inflater.emplace(chunkBytes);
    // A file larger than a piece is read a piece ahead on another thread, so that the system's
    // copying overlaps the caller's work. Standard input is not: a read ahead of a pipe could wait
    // for bytes that never come after the caller has stopped.
    const bool readAhead = file && totalBytes > chunkBytes;
    const std::unique_ptr<char[]> second(readAhead ? new char[chunkBytes] : nullptr);
    char* current = buffer.get();
    char* spare = second.get();
    struct Piece {
        std::optional<ReadFailure> failure;
        std::size_t got = 0;
    };
    const auto readInto = [&raw, chunkBytes](char* into) {
        Piece piece;
        piece.failure = raw.read(into, chunkBytes, piece.got);
        return piece;
    };
    std::future<Piece> ahead;
    for (std::size_t got = filled; got > 0;) {
        if (readAhead)
            ahead = std::async(std::launch::async, readInto, spare);
        const std::string_view data(current, got);
        if (inflater) {
            bool stopped = false;
            if (std::optional<ReadFailure> failure = inflater->feed(data, onData, stopped))
                return failure;
            if (stopped)
                return std::nullopt;
        } else if (!onData(data)) {
            return std::nullopt;
        }
        Piece next = readAhead ? ahead.get() : readInto(current);
        if (next.failure)
            return next.failure;
        got = next.got;
        if (got > 0)
            raw.reportProgress();
        if (readAhead)
            std::swap(current, spare);
    }
    return inflater ? inflater->finish() : std::nullopt;
}

} // namespace kestavian
