// POSIX file descriptor stream.
#include "FileStream.h"

#include "ZipErrors.h"

#include "platform/FileStatus.h"
#include "platform/SystemCalls.h"

#include <cerrno>
#include <fcntl.h>

namespace folivane::zip {

namespace sys = platform::sys;

TFileStream::TFileStream(const std::string& path, unsigned mode) : path_(ExpandFileName(path)) {
    int flags = O_CLOEXEC;
    if (mode == fmCreate) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            flags |= O_RDONLY;
            break;
        }
    }
    fd_ = platform::FileDescriptor(sys::Open(path, flags, 0666));
    int error = fd_.Valid() ? 0 : errno;
    if (const auto status = fd_.Valid() ? platform::StatOpenFile(fd_.Get()) : std::nullopt;
        status && status->IsFolder()) {
        // Linux opens folders for reading; as a file they can only fail later.
        error = EISDIR;
        fd_.Close();
    }
    if (!fd_.Valid()) {
        if (mode == fmCreate) throw EFCreateError(path_, error);
        throw EFOpenError(path_, error);
    }
    position_ = 0;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    auto* out = static_cast<char*>(buffer);
    std::int64_t total = 0;
    while (total < count) {
        const ssize_t n = sys::Read(fd_.Get(), out + total, static_cast<size_t>(count - total));
        if (n < 0) {
            position_ = -1;
            throw EReadError(path_, errno);
        }
        if (n == 0) break;
        total += n;
    }
    if (position_ >= 0) position_ += total;
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::int64_t total = 0;
    while (total < count) {
        const ssize_t n = sys::Write(fd_.Get(), in + total, static_cast<size_t>(count - total));
        if (n < 0) {
            lastWriteError_ = errno;
            break;
        }
        if (n == 0) {
            lastWriteError_ = ENOSPC;
            break;
        }
        total += n;
    }
    if (position_ >= 0) position_ += total;
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, int origin) {
    if (origin == soCurrent && offset == 0 && position_ >= 0) return position_;
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t result = sys::Seek(fd_.Get(), static_cast<off_t>(offset), whence);
    if (result < 0) {
        position_ = -1;
        throw EStreamError(platform::FileOperation::Seek, path_, errno);
    }
    position_ = result;
    return result;
}

void TFileStream::SetSize(std::int64_t size) {
    if (sys::Truncate(fd_.Get(), static_cast<off_t>(size)) != 0)
        throw EWriteError(path_, errno, platform::FileOperation::Resize);
}

void TFileStream::Sync() {
    if (sys::Fsync(fd_.Get()) != 0)
        throw EWriteError(path_, errno, platform::FileOperation::WriteToDisk);
}

void TFileStream::Close() {
    // close() may report a deferred write error (NFS, quota); the data is then lost.
    if (const int error = fd_.Close(); error != 0)
        throw EWriteError(path_, error, platform::FileOperation::Close);
}

} // namespace folivane::zip
