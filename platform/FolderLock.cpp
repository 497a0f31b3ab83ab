// O_EXCL lock files held with flock, marked once taken.
#include "FolderLock.h"

#include "FileStatus.h"
#include "SystemCalls.h"

#include <fcntl.h>
#include <sys/file.h>

namespace folivane::platform {

int FolderLock::Take(const std::string& path) {
    FileDescriptor fd(sys::Open(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) return errno;
    // Blocking: a probe by another start of the program may hold the lock for a moment.
    int error = 0;
    if (sys::Lock(fd.Get(), LOCK_EX) != 0)
        error = errno;
    else if (const ssize_t n = sys::Write(fd.Get(), "1", 1); n != 1)
        error = n < 0 ? errno : ENOSPC;
    if (error != 0) {
        sys::Unlink(path);
        return error;
    }
    path_ = path;
    fd_ = std::move(fd);
    return 0;
}

int FolderLock::Remove() {
    if (path_.empty()) return 0;
    const int error = sys::Unlink(path_) == 0 || errno == ENOENT ? 0 : errno;
    fd_.Close();
    path_.clear();
    return error;
}

FolderLock::State FolderLock::Probe(const std::string& path) {
    const FileDescriptor fd(sys::Open(path, O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.Valid()) return errno == ENOENT ? State::Missing : State::NotOurs;
    if (sys::Lock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? State::Held : State::NotOurs;
    const std::optional<FileStatus> status = StatOpenFile(fd.Get());
    if (!status) return State::NotOurs;
    return status->size > 0 ? State::Released : State::NotTaken;
}

} // namespace folivane::platform
