// An open file descriptor that closes itself.
#pragma once

#include <utility>

namespace folivane::platform {

// Owns one descriptor (or none). Move-only. The destructor closes quietly; a caller that
// wrote through the descriptor and must know that the data arrived calls Close().
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int Release() noexcept { return std::exchange(fd_, -1); }
    // Closes now: 0, or the errno of a failed close, which may report a write that was
    // deferred (NFS, a quota) and is now lost. The descriptor is gone either way.
    int Close() noexcept;

private:
    int fd_ = -1;
};

} // namespace folivane::platform
