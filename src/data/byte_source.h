#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestavian {

// Why a file could not be read.
enum class ReadFailureKind {
    NoSuchFile,
    Folder,
    NotRegularFile, // a FIFO, a device, a socket
    PermissionDenied,
    TooLarge,     // more bytes than the reader's limit allows
    TooManyItems, // more items than the reader's limit allows
    Compressed,   // compressed data that this reader does not read (see compression)
    Damaged,      // compressed data that does not decompress
    SystemError,  // anything else the system refused, with its own text
};

struct ReadFailure {
    ReadFailureKind kind = ReadFailureKind::SystemError;
    std::string text;        // one line, to follow "cannot read FILE: "
    std::string compression; // for Compressed: the format, such as "gzip" or "xz"
};

// Bytes read so far, of the file's size when it was opened (0 when it has none, as a pipe).
using ReadProgress = std::function<void(std::uint64_t bytesRead, std::uint64_t totalBytes)>;

struct ByteSourceRules {
    // Raw bytes at most; a larger file is refused before anything is read.
    std::uint64_t maxBytes = UINT64_MAX;
    // Read gzip data through zlib; without it, a gzip file is refused as compressed.
    bool gzip = false;
    // "-" and "/dev/stdin" read standard input, whatever it is (a pipe, a terminal).
    bool standardInput = false;
};

// The bytes of a file (or of standard input) handed to onData in pieces of at most chunkBytes,
// until the data ends or onData returns false: the data itself, or, for gzip data under
// rules.gzip, the data it decompresses to. Only regular files are opened by name (a FIFO or a
// device could block or never end); a file in another compressed format is refused, since its
// bytes are no text. The failure, or nothing.
std::optional<ReadFailure> readBytes(const std::string& path, const ByteSourceRules& rules,
                                     std::size_t chunkBytes,
                                     const std::function<bool(std::string_view)>& onData,
                                     const ReadProgress& onProgress = {});

// True for "-" and "/dev/stdin", the names of standard input.
bool namesStandardInput(const std::string& path);

} // namespace kestavian
