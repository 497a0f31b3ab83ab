// Folders: making one, listing one, removing a tree.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace folivane::platform {

// Makes the folder; 0, or the errno of the failure (EEXIST when it is there already).
[[nodiscard]] int MakeFolder(const std::string& path, unsigned mode = 0700);

// Removes an empty folder; 0, or the errno of the failure.
[[nodiscard]] int RemoveFolder(const std::string& path);

// The names in a folder, without "." and "..", in the order the system lists them;
// nothing when the folder cannot be read, and then `error`, when given, holds the errno.
std::optional<std::vector<std::string>> FolderNames(const std::string& folder,
                                                    int* error = nullptr);

// The same with whether each entry is a folder, as the listing says without a stat where the
// file system tells (d_type); a link is not a folder.
struct FolderEntry {
    std::string name;
    bool folder = false;
};
std::optional<std::vector<FolderEntry>> FolderEntries(const std::string& folder,
                                                      int* error = nullptr);

// Removes a folder with all its contents, or a file. Every step works relative to an open
// folder, so a symbolic link inside is removed itself and never followed. True when all of
// it went (or was not there); on false as much as could go has gone. It holds at most three
// descriptors at a time, however deep the tree, and removes an empty folder with none.
bool RemoveFolderTree(const std::string& path);

// Removes every entry of the folder but the names in `keep`; true when all of them went. At
// most three descriptors at a time, as RemoveFolderTree.
bool EmptyFolder(const std::string& folder, const std::vector<std::string>& keep);

} // namespace folivane::platform
