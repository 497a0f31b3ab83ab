// mkdir, readdir and a removal of trees that never follows links.
#include "FolderTree.h"

#include "FileDescriptor.h"
#include "SystemCalls.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace folivane::platform {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

// The entries of an open folder; the folder adopts the descriptor. On failure `error`, when
// given, receives the errno.
std::optional<std::vector<FolderEntry>> EntriesOf(FileDescriptor folder, int* error = nullptr) {
    const int fd = folder.Get();
    Dir dir(::fdopendir(fd));
    if (!dir) {
        if (error) *error = errno;
        return std::nullopt;
    }
    folder.Release(); // the DIR owns it now
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            isFolder =
                ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({std::move(name), isFolder});
    }
    return entries;
}

std::optional<std::vector<std::string>> NamesOf(FileDescriptor folder, int* error) {
    std::optional<std::vector<FolderEntry>> entries = EntriesOf(std::move(folder), error);
    if (!entries) return std::nullopt;
    std::vector<std::string> names;
    names.reserve(entries->size());
    for (FolderEntry& entry : *entries)
        names.push_back(std::move(entry.name));
    return names;
}

FileDescriptor OpenFolderAt(int parentFd, const std::string& name) {
    return FileDescriptor(
        sys::OpenAt(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool EmptyAt(int folderFd, const std::vector<std::string>& keep);

// Removes `name` in the folder open as `parentFd`: a file or link at once, a folder after
// its contents. `maybeFolder` false: the listing said it is none, so no open is tried.
bool RemoveAt(int parentFd, const std::string& name, bool maybeFolder = true) {
    FileDescriptor folder = maybeFolder ? OpenFolderAt(parentFd, name) : FileDescriptor();
    if (!folder.Valid()) return sys::UnlinkAt(parentFd, name, 0) == 0 || errno == ENOENT;
    const bool emptied = EmptyAt(folder.Get(), {});
    folder.Close();
    return (sys::UnlinkAt(parentFd, name, AT_REMOVEDIR) == 0 || errno == ENOENT) && emptied;
}

bool EmptyAt(int folderFd, const std::vector<std::string>& keep) {
    // A second descriptor for the listing: the DIR takes and closes its own.
    const std::optional<std::vector<FolderEntry>> entries =
        EntriesOf(FileDescriptor(sys::Duplicate(folderFd)));
    if (!entries) return false;
    bool ok = true;
    for (const FolderEntry& entry : *entries) {
        if (std::find(keep.begin(), keep.end(), entry.name) != keep.end()) continue;
        ok = RemoveAt(folderFd, entry.name, entry.folder) && ok;
    }
    return ok;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

int MakeFolder(const std::string& path, unsigned mode) {
    return sys::MakeFolder(path, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int RemoveFolder(const std::string& path) {
    return sys::RemoveFolder(path) == 0 ? 0 : errno;
}

// The folder opened for listing, or an invalid descriptor with `error` set.
FileDescriptor OpenForListing(const std::string& folder, int* error) {
    FileDescriptor fd(sys::Open(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.Valid() && error) *error = errno;
    return fd;
}

std::optional<std::vector<std::string>> FolderNames(const std::string& folder, int* error) {
    FileDescriptor fd = OpenForListing(folder, error);
    if (!fd.Valid()) return std::nullopt;
    return NamesOf(std::move(fd), error);
}

std::optional<std::vector<FolderEntry>> FolderEntries(const std::string& folder, int* error) {
    FileDescriptor fd = OpenForListing(folder, error);
    if (!fd.Valid()) return std::nullopt;
    return EntriesOf(std::move(fd), error);
}

bool RemoveFolderTree(const std::string& path) {
    return RemoveAt(AT_FDCWD, WithoutTrailingSlashes(path));
}

bool EmptyFolder(const std::string& folder, const std::vector<std::string>& keep) {
    const FileDescriptor fd = OpenFolderAt(AT_FDCWD, WithoutTrailingSlashes(folder));
    return fd.Valid() && EmptyAt(fd.Get(), keep);
}

} // namespace folivane::platform
