// What the file system says about a path or an open file.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <sys/types.h>

namespace folivane::platform {

enum class FileType { Regular, Folder, Link, Other };

struct FileStatus {
    FileType type = FileType::Other;
    mode_t mode = 0; // the permission bits, 07777
    std::int64_t size = 0;
    std::time_t modified = 0;
    std::int64_t modifiedNs = 0; // since the epoch, for telling two versions of a file apart
    dev_t device = 0;
    ino_t inode = 0;
    uid_t owner = 0;

    bool IsRegular() const { return type == FileType::Regular; }
    bool IsFolder() const { return type == FileType::Folder; }
    bool SameFile(const FileStatus& other) const {
        return device == other.device && inode == other.inode;
    }
};

// Following links; nothing when the path does not exist or cannot be reached.
std::optional<FileStatus> StatPath(const std::string& path);
// The link itself, not what it points to.
std::optional<FileStatus> LinkStatus(const std::string& path);
std::optional<FileStatus> StatOpenFile(int fd);
// What the symbolic link at `path` names, as it is written in the link; nothing when `path`
// is no link.
std::optional<std::string> LinkTarget(const std::string& path);

// This process's effective user.
uid_t EffectiveUser();

} // namespace folivane::platform
