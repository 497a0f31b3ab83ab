// A job's private folder: made with mkdtemp, locked while in use, removed whole.
#include "WorkingTree.h"

#include "zip/ArchiveReplacement.h"
#include "zip/ZipErrors.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::engine {
namespace {

constexpr const char* kTreePrefix = "folivane-";
constexpr const char* kLockName = ".lock";
// A folder without its lock, or with a lock not yet taken, is younger than this only while
// its job is still starting.
constexpr std::time_t kUnlockedGraceSeconds = 60;

// Empties the folder open as `dirFd` and removes it from `parentFd`; links are removed,
// never followed, since every step works relative to an open descriptor.
bool RemoveAt(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return ::unlinkat(parentFd, name, 0) == 0 || errno == ENOENT;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string child = entry->d_name;
        if (child == "." || child == "..") continue;
        ok = RemoveAt(::dirfd(dir), child.c_str()) && ok;
    }
    ::closedir(dir);
    return (::unlinkat(parentFd, name, AT_REMOVEDIR) == 0 || errno == ENOENT) && ok;
}

} // namespace

std::string TempFolderPath() {
    return zip::SystemTempFolder();
}

WorkingTree PrepareWorkingTree(const std::string& tempFolderPath) {
    WorkingTree tree;
    std::string pattern = tempFolderPath + kTreePrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        tree.error_ = "Cannot create a working folder in \"" + tempFolderPath + "\". " +
                      zip::SystemErrorText(errno);
        return tree;
    }
    const std::string root = pattern + "/";
    tree.root_ = root;
    // The lock tells a later start of the program that this folder is still in use.
    const std::string lock = root + kLockName;
    tree.lockFd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    // Waiting: a sweep by another start of the program may hold the lock for a moment. Once
    // taken, the lock gets one byte, so that a sweep tells a lock that was released (its job
    // was killed) from one that is not taken yet (its job is starting).
    int locked = -1;
    if (tree.lockFd_ >= 0) {
        do {
            locked = ::flock(tree.lockFd_, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
    }
    if (locked != 0 || ::write(tree.lockFd_, "1", 1) != 1 ||
        ::mkdir((root + "EPUB_TXT").c_str(), 0700) != 0) {
        const int error = errno;
        tree.Remove();
        tree.error_ =
            "Cannot prepare the working folder \"" + root + "\". " + zip::SystemErrorText(error);
    }
    return tree;
}

WorkingTree::WorkingTree(WorkingTree&& other) noexcept
    : root_(std::move(other.root_)), error_(std::move(other.error_)), lockFd_(other.lockFd_) {
    other.root_.clear();
    other.lockFd_ = -1;
}

WorkingTree& WorkingTree::operator=(WorkingTree&& other) noexcept {
    if (this != &other) {
        Remove();
        root_ = std::move(other.root_);
        error_ = std::move(other.error_);
        lockFd_ = other.lockFd_;
        other.root_.clear();
        other.lockFd_ = -1;
    }
    return *this;
}

WorkingTree::~WorkingTree() {
    Remove();
}

void WorkingTree::Remove() {
    if (!root_.empty()) {
        // The lock goes last: a job killed while it removes its folder leaves a folder that
        // a later start sweeps, or an empty one.
        DeleteFolderTree(BookFolder());
        DeleteFolderTree(PieceFolder());
        ::unlink((root_ + kLockName).c_str());
        DeleteFolderTree(root_);
    }
    root_.clear();
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

bool DeleteFolderTree(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return RemoveAt(AT_FDCWD, folder.c_str());
}

int RemoveStaleWorkingTrees(const std::string& tempFolderPath) {
    DIR* dir = ::opendir(tempFolderPath.c_str());
    if (!dir) return 0;
    int removed = 0;
    const std::string prefix = kTreePrefix;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() != prefix.size() + 6)
            continue;
        const std::string root = tempFolderPath + name;
        struct stat st {};
        if (::lstat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        const bool old = std::time(nullptr) - st.st_mtime > kUnlockedGraceSeconds;
        const std::string lock = root + "/" + kLockName;
        const int fd = ::open(lock.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            // No working folder of this program, whose lock comes first and goes last, or
            // one whose job was killed before it made the lock: only an empty one goes, so
            // that a folder of the user's that happens to match the name is never touched.
            if (errno == ENOENT && old && ::rmdir(root.c_str()) == 0) ++removed;
            continue;
        }
        // Held by no running job; an empty one may be about to be taken by its job.
        struct stat lockInfo {};
        const bool stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &lockInfo) == 0 &&
                           (lockInfo.st_size > 0 || old);
        ::close(fd);
        if (stale && DeleteFolderTree(root)) ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace folivane::engine
