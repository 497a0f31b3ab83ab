// Expansion of the writer's file list: plain names first, then the files each mask finds.
#include "ZipWriter.h"

#include "DirSearch.h"
#include "WildcardMatch.h"

#include "platform/FileStatus.h"

#include <optional>

namespace folivane::zip {
namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool SameFile(const std::optional<platform::FileStatus>& a,
              const std::optional<platform::FileStatus>& b) {
    return a && b && a->SameFile(*b);
}

} // namespace

bool TZipWriter::IsExcluded(const std::string& path) const {
    if (ExcludeList.empty()) return false;
    const std::string lowered = LowerAscii(path);
    const std::string name = ExtractFileName(lowered);
    for (const std::string& pattern : ExcludeList) {
        const std::string mask = LowerAscii(pattern);
        if (WildcardMatch(mask, mask.find('/') != std::string::npos ? lowered : name)) return true;
    }
    return false;
}

void TZipWriter::ExpandFileList() {
    const std::uint32_t droppable =
        (faHidden | faSysFile | faVolumeID | faDirectory) & ~searchAttributes_ & ~faDirectory;
    std::vector<std::string> files;
    std::vector<std::string> masks;
    for (const std::string& line : FilesList) {
        if (!line.empty() && line.back() == '/') {
            files.push_back(line); // a folder: stays, and is left out when entries are made
        } else if (!LiteralPaths && HasWildcard(line)) {
            masks.push_back(line);
        } else if (LiteralPaths) {
            // Named one by one by a caller that knows them: a file missing by now is found so
            // when its entry is made.
            files.push_back(line.find('/') == std::string::npos ? rootDir_ + line : line);
        } else {
            const std::string path = line.find('/') == std::string::npos ? rootDir_ + line : line;
            if (IsExcluded(path)) continue;
            const std::optional<std::uint32_t> attributes = FileAttributes(path);
            if (!attributes || (*attributes & faDirectory) || (*attributes & droppable)) {
                if (OnNoSuchFile) OnNoSuchFile(path);
                continue;
            }
            files.push_back(path);
        }
    }
    // Another spelling of the archive's name (a "./", a link) is the archive too. Its
    // identity is taken once: a search may find thousands of files.
    const std::optional<platform::FileStatus> archive = platform::StatPath(zipName_);
    const auto isArchiveItself = [&](const std::string& path) {
        return path == zipName_ || (archive && SameFile(platform::StatPath(path), archive));
    };
    for (std::string mask : masks) {
        bool recurse = recurse_;
        if (mask.front() == '|') {
            recurse = false;
            mask.erase(0, 1);
        } else if (mask.front() == '>') {
            recurse = true;
            mask.erase(0, 1);
        }
        std::string folder = ExtractFilePath(mask);
        if (folder.empty()) folder = rootDir_;
        std::string pattern = ExtractFileName(mask);
        if (pattern == "*.*") pattern = "*";
        // An empty folder is the working folder, as for plain names and for the search.
        if (!DirectoryExists(folder.empty() ? "." : folder) && !HasWildcard(folder)) continue;
        TDirSearch search(folder, searchAttributes_, recurse, pattern);
        for (std::string path = search.FindNextEntry(); !path.empty();
             path = search.FindNextEntry()) {
            CheckPoint();
            if (path.back() == '/') {
                if (AddDirEntriesOnRecurse) files.push_back(path);
            } else if (!IsExcluded(path) && !isArchiveItself(path)) {
                files.push_back(std::move(path));
            }
        }
    }
    FilesList = std::move(files);
}

} // namespace folivane::zip
