// POSIX file descriptor stream.
#include "FileStream.h"

#include "ZipErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::zip {

std::string ExpandFileName(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return path;
    std::string result = cwd;
    if (result.back() != '/') result += '/';
    return result + path;
}

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
    do {
        fd_ = ::open(path.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    int error = fd_ < 0 ? errno : 0;
    struct stat st {};
    if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        // Linux opens folders for reading; as a file they can only fail later.
        error = EISDIR;
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) {
        if (mode == fmCreate) throw EFCreateError(path_, SystemErrorText(error));
        throw EFOpenError(path_, SystemErrorText(error));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    auto* out = static_cast<char*>(buffer);
    std::int64_t total = 0;
    while (total < count) {
        const ssize_t n = ::read(fd_, out + total, static_cast<size_t>(count - total));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EReadError("Cannot read file \"" + path_ + "\". " + SystemErrorText(errno));
        }
        if (n == 0) break;
        total += n;
    }
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::int64_t total = 0;
    while (total < count) {
        const ssize_t n = ::write(fd_, in + total, static_cast<size_t>(count - total));
        if (n < 0) {
            if (errno == EINTR) continue;
            lastWriteError_ = errno;
            break;
        }
        if (n == 0) {
            lastWriteError_ = ENOSPC;
            break;
        }
        total += n;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, int origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (result < 0)
        throw EStreamError("Cannot seek in file \"" + path_ + "\". " + SystemErrorText(errno));
    return result;
}

void TFileStream::SetSize(std::int64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        throw EWriteError("Cannot resize file \"" + path_ + "\". " + SystemErrorText(errno));
}

void TFileStream::Sync() {
    if (::fsync(fd_) != 0)
        throw EWriteError("Cannot write file \"" + path_ + "\" to disk. " + SystemErrorText(errno));
}

void TFileStream::Close() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    // close() may report a deferred write error (NFS, quota); the data is then lost.
    if (::close(fd) != 0 && errno != EINTR)
        throw EWriteError("Cannot close file \"" + path_ + "\". " + SystemErrorText(errno));
}

} // namespace folivane::zip
