// The chapter list: one record per chapter, made from the book's sources.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace folivane::engine {

// One chapter: its display name and the text file that holds its text.
struct FileList {
    std::string Name;
    std::string Path;
};

using TChapterList = std::vector<FileList>;

// A file's size in bytes divided by 1024; 0 when it cannot be opened.
double GetFileSizeKB(const std::string& path);

// The part after the last "/". With wholeName false, that name less its last four
// characters (the ".txt"), or empty when the name is shorter than five characters.
std::string GetFileNameFromPath(const std::string& path, bool wholeName);

// Sources of at most 100 KiB become one chapter read from the source itself. Larger ones
// are decoded, cut between lines into pieces of about 90 KiB of UTF-8 text (every byte
// counted, line ends too), and each piece is written as a UTF-8 file into `pieceFolder`
// (ending with "/") and becomes a chapter named after the source followed by the piece
// number. Piece files of different sources never share a name. `checkPoint`, when set, is
// called before each source and may raise to stop. Raises ConversionError when a large
// source cannot be read or a piece cannot be written.
TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder,
                              const std::string& legacyEncoding = std::string(),
                              const std::function<void()>& checkPoint = {});

} // namespace folivane::engine
