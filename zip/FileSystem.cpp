// The writer's file-system view, on the platform layer's stat and listing.
#include "FileSystem.h"

#include "platform/FileStatus.h"
#include "platform/FolderTree.h"

#include <algorithm>

namespace folivane::zip {
namespace {

std::uint32_t AttributesOf(const platform::FileStatus& status, const std::string& name) {
    std::uint32_t attributes = 0;
    if (status.IsFolder()) {
        attributes = faDirectory;
    } else {
        attributes = faArchive;
        if ((status.mode & 0222) == 0) attributes |= faReadOnly;
    }
    if (!name.empty() && name.front() == '.') attributes |= faHidden;
    return attributes;
}

} // namespace

std::optional<std::uint32_t> FileAttributes(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::StatPath(path);
    if (!status) return std::nullopt;
    return FileAttributesOf(*status, path);
}

std::uint32_t FileAttributesOf(const platform::FileStatus& status, const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return AttributesOf(status, ExtractFileName(name));
}

std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder, std::uint32_t mask) {
    const std::optional<std::vector<std::string>> names = platform::FolderNames(folder);
    if (!names) return std::nullopt;
    const std::string prefix = IncludeTrailingSlash(folder);
    const std::uint32_t droppable = (faHidden | faSysFile | faVolumeID | faDirectory) & ~mask;
    std::vector<DirEntry> entries;
    for (const std::string& name : *names) {
        const std::string path = prefix + name;
        std::optional<platform::FileStatus> status = platform::LinkStatus(path);
        if (!status) continue;
        if (status->type == platform::FileType::Link) {
            status = platform::StatPath(path);
            if (!status || status->IsFolder()) continue;
        }
        if (!status->IsFolder() && !status->IsRegular())
            continue; // devices, pipes and sockets are not files one can pack
        DirEntry entry{name, AttributesOf(*status, name), status->size, status->modified};
        if (entry.attributes & droppable) continue;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return entries;
}

bool FileExists(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::StatPath(path);
    return status && !status->IsFolder();
}

bool DirectoryExists(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::StatPath(path);
    return status && status->IsFolder();
}

std::string ExtractFilePath(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string IncludeTrailingSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

} // namespace folivane::zip
