// The system calls of the platform layer, each a seam through which tests inject failures.
#pragma once

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace folivane::platform {

// The kinds of call a fault can be injected into.
enum class Call {
    Open,         // open, openat, mkostemp
    Read,         // read
    Write,        // write
    Fsync,        // fsync
    Close,        // close
    Rename,       // rename
    Link,         // linkat
    Unlink,       // unlink, unlinkat of a file
    MakeFolder,   // mkdir
    RemoveFolder, // rmdir, unlinkat of a folder
    Lock,         // flock
    Access,       // faccessat
    ReadLink,     // readlink
};

// One failure to inject: the `nth` matching call, counted from 1, fails with `error`; with
// `nth` 0 every matching call fails. A call matches when it is of kind `call` and, unless
// `path` is empty, its path contains `path`. A call on a descriptor matches by the path the
// descriptor was opened with, when that was opened while faults were injected.
// `before`, when set, runs when the fault fires, before the call is made or failed: with
// `error` 0 the call then goes on, so that a test can change a file between two reads.
struct Fault {
    Fault(Call call_, int error_ = EIO, int nth_ = 0, std::string path_ = {},
          std::function<void()> before_ = {})
        : call(call_), error(error_), nth(nth_), path(std::move(path_)),
          before(std::move(before_)) {}

    Call call;
    int error;
    int nth;
    std::string path;
    std::function<void()> before;
};

// While it lives, the calls that this thread makes through `sys` fail as `faults` say; other
// threads are not affected. For tests: the program itself never makes one. One at a time
// per thread; move-free, since the calls find it by its address.
class FaultInjection {
public:
    explicit FaultInjection(std::vector<Fault> faults);
    ~FaultInjection();
    FaultInjection(const FaultInjection&) = delete;
    FaultInjection& operator=(const FaultInjection&) = delete;

    // How many calls failed because of the fault at `index`.
    int Injected(std::size_t index) const { return faults_[index].injected; }
    // How many calls of that kind this thread made while the object lived.
    int Calls(Call call) const;

    // The error to fail the call with, or 0 to make it; counts it either way.
    int Check(Call call, const std::string& path);
    int CheckDescriptor(Call call, int fd);
    void Opened(int fd, const std::string& path);
    std::string PathOf(int fd) const;
    void Closed(int fd) { paths_.erase(fd); }

private:
    struct Entry {
        Fault fault;
        int matched = 0;
        int injected = 0;
    };
    std::vector<Entry> faults_;
    std::unordered_map<int, std::string> paths_;
    std::unordered_map<int, int> calls_;
    FaultInjection* previous_;
};

// Thin wrappers of the POSIX calls with the same results and errno; EINTR is retried where
// the call can be repeated.
namespace sys {
int Open(const std::string& path, int flags, mode_t mode = 0);
int OpenAt(int dirFd, const std::string& name, int flags, mode_t mode = 0);
ssize_t Read(int fd, void* buffer, std::size_t count);
ssize_t Write(int fd, const void* buffer, std::size_t count);
off_t Seek(int fd, off_t offset, int whence);
int Truncate(int fd, off_t size);
int Fsync(int fd);
int Close(int fd);
int Rename(const std::string& from, const std::string& to);
int LinkAt(int fromDirFd, const std::string& from, int toDirFd, const std::string& to, int flags);
int Unlink(const std::string& path);
// With AT_REMOVEDIR in `flags` it counts as RemoveFolder.
int UnlinkAt(int dirFd, const std::string& name, int flags);
int MakeFolder(const std::string& path, mode_t mode);
int RemoveFolder(const std::string& path);
// mkostemp on a pattern ending in "XXXXXX", which it fills in.
int MakeTempFile(std::string& pattern, int flags);
int Lock(int fd, int operation);
// faccessat with the effective IDs (AT_EACCESS), which are what an open would be judged by.
int Access(const std::string& path, int mode);
// readlink: the link's target, not terminated, in at most `size` bytes of `buffer`.
ssize_t ReadLink(const std::string& path, char* buffer, std::size_t size);
// fcntl F_DUPFD_CLOEXEC; the copy matches faults as the original does.
int Duplicate(int fd);
// Faults on `fd` match `path` from now on: for descriptors of files without a name yet.
void NameForFaults(int fd, const std::string& path);
} // namespace sys

} // namespace folivane::platform
