// Depth-first search of a folder tree by mask and attribute set, one entry per call.
#pragma once

#include "FileSystem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folivane::zip {

// One listing of one folder, read whole when the folder is entered.
struct TSearchData {
    std::string folderPath; // ends with "/"
    std::string levelPattern;
    std::vector<DirEntry> entries;
    std::size_t index = 0;

    TSearchData(std::string folder, std::uint32_t attributes, std::string pattern);
    bool Exhausted() const { return index >= entries.size(); }
    const DirEntry& Current() const { return entries[index]; }
    void Advance() { ++index; }
};

// The root may hold wildcard folder components ("/a/b*/c/"): the search then descends only
// through matching folders and hands out files from the last of them. Entries come depth
// first in name order; with recursion each sub-folder is handed out as its path followed
// by "/" just before its contents. The root itself, "." and ".." are never handed out.
// A root that does not exist gives the empty path at once. Used by one thread.
class TDirSearch {
public:
    TDirSearch(const std::string& root, std::uint32_t attributes, bool recurse,
               const std::string& mask);

    // The next path, or the empty path when the search has finished (and must not be
    // asked again). For a file, `record` receives its listing entry.
    std::string FindNextEntry(DirEntry* record = nullptr);

private:
    void Enter(const std::string& folder, std::string pattern);

    std::vector<TSearchData> levels_;
    std::string mask_;
    bool recurse_;
    std::uint32_t attributes_;
    std::vector<std::string> components_;
    std::size_t componentIndex_ = 0;
};

} // namespace folivane::zip
