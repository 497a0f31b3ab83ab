// stat, lstat and fstat as values.
#include "FileStatus.h"

#include <sys/stat.h>
#include <unistd.h>

namespace folivane::platform {
namespace {

std::optional<FileStatus> From(int result, const struct stat& st) {
    if (result != 0) return std::nullopt;
    FileStatus status;
    status.type = S_ISREG(st.st_mode)   ? FileType::Regular
                  : S_ISDIR(st.st_mode) ? FileType::Folder
                  : S_ISLNK(st.st_mode) ? FileType::Link
                                        : FileType::Other;
    status.mode = st.st_mode & 07777;
    status.size = st.st_size;
    status.modified = st.st_mtime;
    status.modifiedNs = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    status.owner = st.st_uid;
    return status;
}

} // namespace

std::optional<FileStatus> StatPath(const std::string& path) {
    struct stat st {};
    return From(::stat(path.c_str(), &st), st);
}

std::optional<FileStatus> LinkStatus(const std::string& path) {
    struct stat st {};
    return From(::lstat(path.c_str(), &st), st);
}

std::optional<FileStatus> StatOpenFile(int fd) {
    struct stat st {};
    return From(::fstat(fd, &st), st);
}

std::optional<std::string> LinkTarget(const std::string& path) {
    std::string target(256, '\0');
    while (true) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        // A target that fills the buffer may be longer still.
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(2 * target.size());
    }
}

uid_t EffectiveUser() {
    return ::geteuid();
}

} // namespace folivane::platform
