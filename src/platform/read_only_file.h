#pragma once

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace kestavian {

// A file opened for reading, closed when this goes, on every path. Opened non-blocking and never
// as a controlling terminal: a FIFO that took a regular file's place since it was looked at would
// otherwise wait for a writer.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The descriptor; negative when the file could not be opened, errno then saying why.
    int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace kestavian
