// Anonymous (O_TMPFILE) or hidden temporary files, linked and renamed into place.
#include "ReplacementFile.h"

#include "FileStatus.h"
#include "FolderTree.h"
#include "SystemCalls.h"
#include "SystemError.h"
#include "TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::platform {
namespace {

std::string FolderOf(const std::string& target) {
    const auto slash = target.rfind('/');
    return slash == std::string::npos ? std::string("./") : target.substr(0, slash + 1);
}

[[noreturn]] void Fail(const std::string& target, int error) {
    throw EFCreateError(ExpandFileName(target), error);
}

// A hidden name beside the target ending in `suffix`. The target's own name is shortened
// when it is needed: a target whose name is near the 255-byte limit (NAME_MAX) must still
// get a temporary file.
std::string HiddenSibling(const std::string& target, const std::string& suffix) {
    constexpr std::size_t kNameMax = 255;
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::size_t room = kNameMax - 1 - suffix.size(); // 1: the leading dot
    if (name.size() > room) name.resize(room);
    return folder + "." + name + suffix;
}

// What names a hidden file as this program's replacement of its target, before the six
// characters that make it unique (as mkstemp's "XXXXXX"): a name no one else gives a file,
// so that one a killed process left can be told from the user's files.
constexpr std::string_view kMark = ".folivane-";
constexpr std::size_t kUniqueLength = 6;

// A replacement's hidden name beside `target`, unique by `unique`.
std::string MarkedSibling(const std::string& target, const std::string& unique) {
    return HiddenSibling(target, std::string(kMark) + unique);
}

// The lock a replacement holds on its file for its life: a later run tells a file that a
// running process is still writing or publishing from one a killed process left behind.
// Best effort: where the file system has no locks the file is never taken for abandoned.
void HoldLock(int fd) {
    [[maybe_unused]] const int ignored = sys::Lock(fd, LOCK_EX | LOCK_NB);
}

// The folder of `target` with every link resolved, when it exists.
std::optional<std::string> RealFolderOf(const std::string& target) {
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(FolderOf(target).c_str(), nullptr), &std::free);
    if (!real) return std::nullopt;
    return std::string(real.get());
}

} // namespace

unsigned CurrentUmask() {
    // umask() would change the process-wide value; Linux shows it without touching it.
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            std::string value;
            status >> value;
            return static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 8));
        }
    }
    return 022;
}

void CheckReplaceableTarget(const std::string& target) {
    // The kernel's own folders hold devices and views of processes (/dev/stdout is a link
    // into /proc), never files of a user's: nothing there is replaced, even by root. Shared
    // memory, /dev/shm, is an ordinary file system for files of anyone's.
    const auto within = [](const std::string& folder, std::string_view system) {
        return folder.starts_with(system) &&
               (folder.size() == system.size() || folder[system.size()] == '/');
    };
    if (const std::optional<std::string> folder = RealFolderOf(target)) {
        for (const std::string_view system : {"/dev", "/proc", "/sys"}) {
            if (within(*folder, system) && !within(*folder, "/dev/shm"))
                Fail(target, kNotRegularFile);
        }
    }
    const std::optional<FileStatus> status = StatPath(target);
    if (!status) return;
    if (status->IsFolder()) Fail(target, EISDIR);
    if (!status->IsRegular()) Fail(target, kNotRegularFile);
}

void CheckWritableTarget(const std::string& target) {
    if (!StatPath(target) || sys::Access(target, W_OK) == 0 || errno == ENOENT) return;
    const int error = errno;
    if (error != EACCES && error != EPERM) Fail(target, error);
    throw EStreamError(FileOperation::ReplaceProtected, ExpandFileName(target), error);
}

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
    CheckReplaceableTarget(target_);
    fd_ = FileDescriptor(sys::Open(FolderOf(target_), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
    if (fd_.Valid()) {
        sys::NameForFaults(fd_.Get(), target_);
        HoldLock(fd_.Get());
        return;
    }
    // Not every file system has unnamed files; a hidden name serves there.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail(target_, errno);
    std::string path = MarkedSibling(target_, std::string(kUniqueLength, 'X'));
    fd_ = FileDescriptor(sys::MakeTempFile(path, O_CLOEXEC));
    if (!fd_.Valid()) Fail(target_, errno);
    HoldLock(fd_.Get());
    path_ = std::move(path);
}

ReplacementFile::~ReplacementFile() {
    fd_.Close();
    if (!published_ && !path_.empty()) sys::Unlink(path_);
}

FileDescriptor ReplacementFile::Duplicate() const {
    FileDescriptor fd(sys::Duplicate(fd_.Get()));
    if (!fd.Valid()) Fail(target_, errno);
    return fd;
}

void ReplacementFile::Publish(bool sync) {
    const std::optional<FileStatus> old = StatPath(target_);
    const mode_t mode = old ? old->mode : static_cast<mode_t>(0666 & ~CurrentUmask());
    ::fchmod(fd_.Get(), mode); // best effort: the file is complete either way
    if (sync && sys::Fsync(fd_.Get()) != 0)
        throw EWriteError(ExpandFileName(target_), errno, FileOperation::WriteToDisk);
    if (path_.empty()) {
        // Name the unnamed file beside the target first: a rename is what replaces atomically.
        const std::string procPath = "/proc/self/fd/" + std::to_string(fd_.Get());
        for (int attempt = 0; path_.empty(); ++attempt) {
            const std::string candidate = MarkedSibling(target_, UniqueLetters(kUniqueLength));
            if (sys::LinkAt(AT_FDCWD, procPath, AT_FDCWD, candidate, AT_SYMLINK_FOLLOW) == 0)
                path_ = candidate;
            else if (errno != EEXIST || attempt > 100)
                Fail(target_, errno);
        }
    }
    if (sys::Rename(path_, target_) != 0) Fail(target_, errno);
    published_ = true;
}

int RemoveAbandonedReplacements(const std::string& target, const AbandonedCheck& isAbandoned) {
    const std::string folder = FolderOf(target);
    // The hidden name with its unique letters left out.
    std::string stem = MarkedSibling(target, std::string(kUniqueLength, 'X'));
    stem.resize(stem.size() - kUniqueLength);
    stem.erase(0, stem.rfind('/') + 1);
    const auto names = FolderNames(folder);
    if (!names) return 0;
    int removed = 0;
    for (const std::string& name : *names) {
        if (name.size() != stem.size() + kUniqueLength || !name.starts_with(stem)) continue;
        const std::string path = folder + name;
        // Only a regular file of this user's, held by no process, is looked at: a link, another
        // user's file or one being written stays.
        const std::optional<FileStatus> named = LinkStatus(path);
        if (!named || !named->IsRegular() || named->owner != EffectiveUser()) continue;
        const FileDescriptor fd(sys::Open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.Valid() || sys::Lock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
        const std::optional<FileStatus> opened = StatOpenFile(fd.Get());
        if (!opened || !opened->SameFile(*named) || !isAbandoned(fd, *opened)) continue;
        if (sys::Unlink(path) == 0) ++removed;
    }
    return removed;
}

} // namespace folivane::platform
