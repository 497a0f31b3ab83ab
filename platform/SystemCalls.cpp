// The wrapped system calls and the per-thread fault injection they consult.
#include "SystemCalls.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::platform {
namespace {

// The injection of the calling thread, if a test made one. A thread's own, so that the
// compression threads of a job under test are never touched.
thread_local FaultInjection* tActive = nullptr;

// Fails the call with errno set when a fault says so.
bool Refused(Call call, const std::string& path) {
    if (!tActive) return false;
    if (const int error = tActive->Check(call, path)) {
        errno = error;
        return true;
    }
    return false;
}

bool RefusedOn(Call call, int fd) {
    if (!tActive) return false;
    if (const int error = tActive->CheckDescriptor(call, fd)) {
        errno = error;
        return true;
    }
    return false;
}

int Opened(int fd, const std::string& path) {
    if (fd >= 0 && tActive) tActive->Opened(fd, path);
    return fd;
}

template <class Function> auto Retrying(Function function) {
    auto result = function();
    while (result < 0 && errno == EINTR)
        result = function();
    return result;
}

} // namespace

FaultInjection::FaultInjection(std::vector<Fault> faults) : previous_(tActive) {
    for (Fault& fault : faults)
        faults_.push_back({std::move(fault)});
    tActive = this;
}

FaultInjection::~FaultInjection() {
    tActive = previous_;
}

int FaultInjection::Calls(Call call) const {
    const auto found = calls_.find(static_cast<int>(call));
    return found == calls_.end() ? 0 : found->second;
}

int FaultInjection::Check(Call call, const std::string& path) {
    ++calls_[static_cast<int>(call)];
    // Every fault counts its own matches; the first that fires decides the error.
    int error = 0;
    for (Entry& entry : faults_) {
        const Fault& fault = entry.fault;
        if (fault.call != call) continue;
        if (!fault.path.empty() && path.find(fault.path) == std::string::npos) continue;
        ++entry.matched;
        if (error == 0 && (fault.nth == 0 || entry.matched == fault.nth)) {
            ++entry.injected;
            if (fault.before) fault.before();
            error = fault.error;
        }
    }
    return error;
}

std::string FaultInjection::PathOf(int fd) const {
    const auto found = paths_.find(fd);
    return found == paths_.end() ? std::string() : found->second;
}

int FaultInjection::CheckDescriptor(Call call, int fd) {
    return Check(call, PathOf(fd));
}

void FaultInjection::Opened(int fd, const std::string& path) {
    paths_[fd] = path;
}

namespace sys {

int Open(const std::string& path, int flags, mode_t mode) {
    if (Refused(Call::Open, path)) return -1;
    return Opened(Retrying([&] { return ::open(path.c_str(), flags, mode); }), path);
}

int OpenAt(int dirFd, const std::string& name, int flags, mode_t mode) {
    if (Refused(Call::Open, name)) return -1;
    return Opened(Retrying([&] { return ::openat(dirFd, name.c_str(), flags, mode); }), name);
}

ssize_t Read(int fd, void* buffer, std::size_t count) {
    if (RefusedOn(Call::Read, fd)) return -1;
    return Retrying([&] { return ::read(fd, buffer, count); });
}

ssize_t Write(int fd, const void* buffer, std::size_t count) {
    if (RefusedOn(Call::Write, fd)) return -1;
    return Retrying([&] { return ::write(fd, buffer, count); });
}

off_t Seek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}

int Truncate(int fd, off_t size) {
    if (RefusedOn(Call::Write, fd)) return -1;
    return Retrying([&] { return ::ftruncate(fd, size); });
}

int Fsync(int fd) {
    if (RefusedOn(Call::Fsync, fd)) return -1;
    return Retrying([&] { return ::fsync(fd); });
}

int Close(int fd) {
    if (tActive) {
        const int error = tActive->CheckDescriptor(Call::Close, fd);
        tActive->Closed(fd);
        if (error) {
            ::close(fd); // the descriptor goes either way, as with a real failed close
            errno = error;
            return -1;
        }
    }
    // Never retried: after EINTR the descriptor is already closed on Linux.
    return ::close(fd);
}

int Rename(const std::string& from, const std::string& to) {
    if (Refused(Call::Rename, to)) return -1;
    return ::rename(from.c_str(), to.c_str());
}

int LinkAt(int fromDirFd, const std::string& from, int toDirFd, const std::string& to, int flags) {
    if (Refused(Call::Link, to)) return -1;
    return ::linkat(fromDirFd, from.c_str(), toDirFd, to.c_str(), flags);
}

int Unlink(const std::string& path) {
    if (Refused(Call::Unlink, path)) return -1;
    return ::unlink(path.c_str());
}

int UnlinkAt(int dirFd, const std::string& name, int flags) {
    if (Refused((flags & AT_REMOVEDIR) ? Call::RemoveFolder : Call::Unlink, name)) return -1;
    return ::unlinkat(dirFd, name.c_str(), flags);
}

int MakeFolder(const std::string& path, mode_t mode) {
    if (Refused(Call::MakeFolder, path)) return -1;
    return ::mkdir(path.c_str(), mode);
}

int RemoveFolder(const std::string& path) {
    if (Refused(Call::RemoveFolder, path)) return -1;
    return ::rmdir(path.c_str());
}

int MakeTempFile(std::string& pattern, int flags) {
    if (Refused(Call::Open, pattern)) return -1;
    const int fd = ::mkostemp(pattern.data(), flags);
    return Opened(fd, pattern);
}

int Duplicate(int fd) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy >= 0 && tActive) tActive->Opened(copy, tActive->PathOf(fd));
    return copy;
}

void NameForFaults(int fd, const std::string& path) {
    if (fd >= 0 && tActive) tActive->Opened(fd, path);
}

int Lock(int fd, int operation) {
    if (RefusedOn(Call::Lock, fd)) return -1;
    return Retrying([&] { return ::flock(fd, operation); });
}

int Access(const std::string& path, int mode) {
    if (Refused(Call::Access, path)) return -1;
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS);
}

ssize_t ReadLink(const std::string& path, char* buffer, std::size_t size) {
    if (Refused(Call::ReadLink, path)) return -1;
    return ::readlink(path.c_str(), buffer, size);
}

} // namespace sys
} // namespace folivane::platform
