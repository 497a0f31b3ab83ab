// The chapter list: the pages of the book, made from its sources, with their place in the
// table of contents.
#pragma once

#include "BookInput.h"
#include "HeadingRules.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// One page of the book: its display name, where its text is, and its place in the table of
// contents. The text is held (a part of its source's decoded text) or in the UTF-8 or
// source file at Path; Path names the file it came from either way.
struct FileList {
    std::string Name;
    std::string Path;
    std::shared_ptr<const std::string> Text = nullptr; // held decoded text; null: read Path
    std::size_t Begin = 0;                             // the page's part of *Text
    std::size_t End = 0;
    HeadingKind Heading = HeadingKind::None; // the text begins with a heading line of this kind
    int Level = 0;                           // 0 top level, 1 within the volume before it
    bool Listed = true;                      // has an entry of its own in the table of contents
    std::string Encoding = std::string();    // the code page the user chose for the source
};

using TChapterList = std::vector<FileList>;

struct ChapterListOptions {
    ChapterMode mode = ChapterMode::Auto;
    const HeadingRules* rules = nullptr; // null: the built-in rules
    std::string legacyEncoding;
    // The code page the user chose for each source, by index; an empty or missing entry
    // leaves the choice to the byte-order mark and detection.
    std::vector<std::string> sourceEncodings;
    // Called before each source; may raise to stop.
    std::function<void()> checkPoint;
    // Decoded text is held for the pages up to this many bytes in all; the text of sources
    // beyond it is read again from its file when its pages are written.
    std::size_t heldTextBudget = std::size_t{64} << 20;
};

// A file's size in bytes divided by 1024; 0 when it cannot be opened.
double GetFileSizeKB(const std::string& path);

// The part after the last "/". With wholeName false, that name less its last four
// characters (the ".txt"), or empty when the name is shorter than five characters.
std::string GetFileNameFromPath(const std::string& path, bool wholeName);

// Reads and decodes each source once and makes its pages.
// - Files mode, and a source in which no heading is found: a source of at most 100 KiB is
//   one page named after the source ("name" for name.txt); a larger one is cut between
//   lines into pages of about 90 KiB (every byte counted, line ends too) named "name1",
//   "name2", ..., each listed.
// - Auto mode: each heading line starts a chapter named by the heading; text before the
//   first heading, when not blank, is a chapter named after the source. A chapter over 100
//   KiB is cut into pages as above, of which only the first is listed. Chapters after a
//   volume heading lie within it (Level 1) until the next volume heading, across sources.
// Pages whose text is not held (beyond the budget) are read again when they are written: a
// page that is a whole small source from the source, any other from a UTF-8 piece file (with
// a mark) written into `pieceFolder` (ending with "/"); piece files of different sources
// never share a name. A text that decodes to nothing
// still gives one empty page, so that the source keeps its place. `languageSample`, when
// given, receives up to 256 KiB of the decoded text, from every source in turn. Raises
// ConversionError naming the file when a source cannot be read or a piece written.
TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder, const ChapterListOptions& options,
                              std::string* languageSample = nullptr);

// Files mode with `legacyEncoding`, holding no text: every page of a large source is a piece
// file, as the pages of a book too large for memory are.
TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder,
                              const std::string& legacyEncoding = std::string(),
                              const std::function<void()>& checkPoint = {});

// The text of a page: held, or read from its file.
std::string ChapterText(const FileList& chapter, const std::string& legacyEncoding);

} // namespace folivane::engine
