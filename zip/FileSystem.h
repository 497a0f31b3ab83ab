// The writer's view of the file system: attribute words, sorted folder listings, file times.
#pragma once

#include "platform/FileStatus.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace folivane::zip {

// MS-DOS attribute bits, the encoding of the archive's external attributes.
enum : std::uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faAnyFile = 0x3F,
};

struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
    std::int64_t size = 0;
    std::time_t modified = 0;
};

// A regular file is 0x20, plus 0x01 when nobody may write it; a folder is 0x10; a name
// that begins with "." is hidden. Nothing when the path does not exist.
std::optional<std::uint32_t> FileAttributes(const std::string& path);
// The same from what the file system said about the file at `path`.
std::uint32_t FileAttributesOf(const platform::FileStatus& status, const std::string& path);

// The entries of a folder, sorted by name byte by byte so that one tree always packs the
// same way, without "." and "..", dropping every entry that carries a hidden, system,
// volume or folder bit missing from the mask. Links are followed to files; links to
// folders and dangling links are left out, so a search can never loop. Nothing when the
// folder cannot be listed.
std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder, std::uint32_t mask);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// The folder part of a path, up to and including its last "/"; empty when there is none.
std::string ExtractFilePath(const std::string& path);
// The part after the last "/".
std::string ExtractFileName(const std::string& path);
// The path with a trailing "/" unless it is empty or has one.
std::string IncludeTrailingSlash(std::string path);

} // namespace folivane::zip
