// Anonymous (O_TMPFILE) or hidden temporary files, linked and renamed into place.
#include "TempFileBeside.h"

#include "ArchiveReplacement.h"
#include "FileSystem.h"
#include "ZipErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::zip {
namespace {

std::string FolderOf(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    return folder.empty() ? std::string("./") : folder;
}

[[noreturn]] void Fail(const std::string& target, int error) {
    throw EFCreateError(ExpandFileName(target), SystemErrorText(error));
}

// A hidden name beside the target ending in `suffix`. The target's own name is shortened
// when it is needed: a target whose name is near the 255-byte limit (NAME_MAX) must still
// get a temporary file.
std::string HiddenSibling(const std::string& target, const std::string& suffix) {
    constexpr std::size_t kNameMax = 255;
    std::string name = ExtractFileName(target);
    const std::size_t room = kNameMax - 1 - suffix.size(); // 1: the leading dot
    if (name.size() > room) name.resize(room);
    return ExtractFilePath(target) + "." + name + suffix;
}

} // namespace

void CheckReplaceableTarget(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) Fail(target, EISDIR);
    if (!S_ISREG(st.st_mode)) throw EFCreateError(ExpandFileName(target), "Not a regular file");
}

TTempFileBeside::TTempFileBeside(std::string target) : target_(std::move(target)) {
    CheckReplaceableTarget(target_);
    fd_ = ::open(FolderOf(target_).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    // Not every file system has unnamed files; a hidden name serves there.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail(target_, errno);
    path_ = HiddenSibling(target_, ".XXXXXX");
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        path_.clear();
        Fail(target_, error);
    }
}

TTempFileBeside::~TTempFileBeside() {
    if (fd_ >= 0) ::close(fd_);
    if (!published_ && !path_.empty()) ::unlink(path_.c_str());
}

std::unique_ptr<TFileStream> TTempFileBeside::OpenStream() const {
    const int fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) Fail(target_, errno);
    return std::make_unique<TFileStream>(fd, ExpandFileName(target_));
}

void TTempFileBeside::Publish(bool sync) {
    struct stat st {};
    const mode_t mode =
        ::stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    ::fchmod(fd_, mode); // best effort: the archive is complete either way
    if (sync && ::fsync(fd_) != 0) Fail(target_, errno);
    if (path_.empty()) {
        // Name the unnamed file beside the target first: a rename is what replaces atomically.
        std::random_device random;
        const std::string procPath = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; path_.empty(); ++attempt) {
            const std::string candidate =
                HiddenSibling(target_, "." + std::to_string(random() % 1000000000u));
            if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, candidate.c_str(),
                         AT_SYMLINK_FOLLOW) == 0)
                path_ = candidate;
            else if (errno != EEXIST || attempt > 100)
                Fail(target_, errno);
        }
    }
    if (::rename(path_.c_str(), target_.c_str()) != 0) Fail(target_, errno);
    published_ = true;
}

} // namespace folivane::zip
