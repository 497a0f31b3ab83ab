// Whole-file reads and writes with every failure named.
#include "RegularFile.h"

#include "FileStatus.h"
#include "Memory.h"
#include "SystemCalls.h"
#include "SystemError.h"

#include <algorithm>
#include <fcntl.h>

namespace folivane::platform {
namespace {

// A descriptor for reading that never waits: O_NONBLOCK, so that a FIFO without a writer
// does not hold the open (reads of a regular file ignore the flag). `cause` receives why it
// cannot be used (an errno value or kNotRegularFile), or 0.
FileDescriptor OpenWithoutWaiting(const std::string& path, int& cause, FileStatus* status) {
    FileDescriptor fd(sys::Open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        cause = errno;
        return fd;
    }
    const std::optional<FileStatus> found = StatOpenFile(fd.Get());
    if (!found)
        cause = errno;
    else if (found->IsFolder())
        cause = EISDIR;
    else if (!found->IsRegular())
        cause = kNotRegularFile;
    if (cause != 0) return FileDescriptor();
    if (status) *status = *found;
    return fd;
}

} // namespace

FileDescriptor OpenRegularFile(const std::string& path, FileStatus* status) {
    int cause = 0;
    FileDescriptor fd = OpenWithoutWaiting(path, cause, status);
    if (!fd.Valid()) throw EFOpenError(ExpandFileName(path), cause);
    return fd;
}

std::optional<std::int64_t> RegularFileSize(const std::string& path) {
    int cause = 0;
    FileStatus status;
    const FileDescriptor fd = OpenWithoutWaiting(path, cause, &status);
    if (!fd.Valid()) return std::nullopt;
    return status.size;
}

std::size_t ReadUpTo(const FileDescriptor& file, char* buffer, std::size_t count,
                     const std::string& path) {
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = sys::Read(file.Get(), buffer + got, count - got);
        if (n < 0) throw EReadError(ExpandFileName(path), errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void ReadAsOpened(const FileDescriptor& file, std::string& out, std::int64_t size,
                  const std::string& path, const std::function<void(std::size_t)>& progress) {
    const std::size_t have = out.size();
    const std::size_t want = static_cast<std::size_t>(std::max<std::int64_t>(size, 0));
    out.reserve(have + want);
    PrefaultForWriting(out.data() + have, want);
    out.resize(have + want);
    try {
        const std::size_t step = progress ? kReadStep : want;
        std::size_t done = 0;
        while (done < want) {
            const std::size_t count = std::min(step, want - done);
            const std::size_t read = ReadUpTo(file, out.data() + have + done, count, path);
            done += read;
            if (progress) progress(done);
            if (read < count) break; // the file ends earlier than it did
        }
        out.resize(have + done);
    } catch (...) {
        out.resize(have);
        throw;
    }
}

std::string ReadWholeFile(const std::string& path) {
    FileStatus status;
    const FileDescriptor file = OpenRegularFile(path, &status);
    std::string content;
    ReadAsOpened(file, content, status.size, path);
    return content;
}

int WriteAll(const FileDescriptor& file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = sys::Write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void WriteNewFile(const std::string& path, std::string_view bytes) {
    FileDescriptor file(sys::Open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.Valid()) throw EFCreateError(ExpandFileName(path), errno);
    // A full disk or the file-size limit (EFBIG) would otherwise leave a short file that
    // nobody reports; a deferred write error shows only at the close.
    int error = WriteAll(file, bytes);
    const int closeError = file.Close();
    if (error == 0) error = closeError;
    if (error != 0) throw EWriteError(ExpandFileName(path), error);
}

} // namespace folivane::platform
