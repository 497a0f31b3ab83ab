// POSIX side of the writer's file-system view.
#include "FileSystem.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace folivane::zip {
namespace {

std::uint32_t AttributesOf(const struct stat& st, const std::string& name) {
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes = faDirectory;
    } else {
        attributes = faArchive;
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= faReadOnly;
    }
    if (!name.empty() && name.front() == '.') attributes |= faHidden;
    return attributes;
}

} // namespace

std::optional<std::uint32_t> FileAttributes(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    std::string name = path;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return AttributesOf(st, ExtractFileName(name));
}

std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder, std::uint32_t mask) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return std::nullopt;
    const std::string prefix = IncludeTrailingSlash(folder);
    const std::uint32_t droppable = (faHidden | faSysFile | faVolumeID | faDirectory) & ~mask;
    std::vector<DirEntry> entries;
    while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = prefix + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) continue;
        if (S_ISLNK(st.st_mode) && (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)))
            continue;
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
            continue; // devices, pipes and sockets are not files one can pack
        DirEntry entry{name, AttributesOf(st, name), st.st_size, st.st_mtime};
        if (entry.attributes & droppable) continue;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return entries;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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
