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

// Opens the folder at `path`, names one below the other, under the folder open as `topFd`,
// one step at a time and never through a link. Holds at most two descriptors on the way and
// one at the end, so that a walk needs no more of them however deep the folder lies.
FileDescriptor WalkTo(int topFd, const std::vector<std::string>& path) {
    FileDescriptor current(sys::Duplicate(topFd));
    for (const std::string& name : path) {
        if (!current.Valid()) break;
        current = OpenFolderAt(current.Get(), name);
    }
    return current;
}

// Removes `name`, a file, a link or an empty folder, from the folder open as `folderFd`.
bool RemoveEntry(int folderFd, const std::string& name) {
    if (sys::UnlinkAt(folderFd, name, AT_REMOVEDIR) == 0 || errno == ENOENT) return true;
    // Listed as a folder, it has become a file or a link since: it goes as one.
    return errno == ENOTDIR && (sys::UnlinkAt(folderFd, name, 0) == 0 || errno == ENOENT);
}

// Removes everything in the folder at `path` under `topFd` but the names in `keep`. The
// folder is closed while its subfolders are emptied and opened again from the top to remove
// them: a job that ran out of descriptors (ulimit -n) must still be able to remove its
// folders, so the walk holds at most three descriptors at any depth.
bool EmptyAt(int topFd, std::vector<std::string>& path, const std::vector<std::string>& keep) {
    std::vector<std::string> folders;
    bool ok = true;
    {
        const FileDescriptor folder = WalkTo(topFd, path);
        if (!folder.Valid()) return false;
        // A second descriptor for the listing: the DIR takes and closes its own.
        const std::optional<std::vector<FolderEntry>> entries =
            EntriesOf(FileDescriptor(sys::Duplicate(folder.Get())));
        if (!entries) return false;
        for (const FolderEntry& entry : *entries) {
            if (std::find(keep.begin(), keep.end(), entry.name) != keep.end()) continue;
            if (entry.folder)
                folders.push_back(entry.name);
            else
                ok = (sys::UnlinkAt(folder.Get(), entry.name, 0) == 0 || errno == ENOENT) && ok;
        }
    }
    for (const std::string& name : folders) {
        path.push_back(name);
        EmptyAt(topFd, path, {}); // what it leaves shows when the folder will not go
        path.pop_back();
        const FileDescriptor folder = WalkTo(topFd, path);
        ok = folder.Valid() && RemoveEntry(folder.Get(), name) && ok;
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
    const std::string name = WithoutTrailingSlashes(path);
    FileDescriptor folder = OpenFolderAt(AT_FDCWD, name);
    if (!folder.Valid()) {
        if (errno == ENOENT) return true;
        // A file or a link goes as such; an empty folder goes even when no descriptor is left.
        return sys::UnlinkAt(AT_FDCWD, name, 0) == 0 || sys::RemoveFolder(name) == 0;
    }
    std::vector<std::string> inside;
    const bool emptied = EmptyAt(folder.Get(), inside, {});
    folder.Close();
    return (sys::RemoveFolder(name) == 0 || errno == ENOENT) && emptied;
}

bool EmptyFolder(const std::string& folder, const std::vector<std::string>& keep) {
    const FileDescriptor fd = OpenFolderAt(AT_FDCWD, WithoutTrailingSlashes(folder));
    std::vector<std::string> inside;
    return fd.Valid() && EmptyAt(fd.Get(), inside, keep);
}

} // namespace folivane::platform
