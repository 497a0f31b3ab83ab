// The sources of a run that makes one book per source, and the path of each book.
#pragma once

#include "BookInput.h"

#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// Whether `a` comes before `b` in natural order: runs of ASCII digits compare by value
// ("2" before "10", the shorter run of zeros first on a tie), the rest byte by byte.
bool NaturalLess(std::string_view a, std::string_view b);

// The text files of `paths`: a ".txt" file as given, and the ".txt" files directly in a
// folder (hidden ones left out) in natural order of their names; each file once, in the
// order first given. Raises ConversionError for a path that is neither
// (BatchInputNotTextOrFolder), a folder that cannot be read (BatchFolderNotRead), and when
// the folders given hold no text file and no file was given (BatchFoundNoText).
std::vector<std::string> BatchSources(const std::vector<std::string>& paths);

// Makes the folder for the books when it is missing (empty: the working folder, which is
// there). Raises ConversionError when it is a file (BooksFolderIsFile) or cannot be made
// (BooksFolderNotMade).
void PrepareBooksFolder(const std::string& folder);

// The path of each source's book, in `folder` (empty: the working folder): the book's title
// + ".epub", the title being the user's (options.title), else the one its first 64 KiB or
// its name give (TitleAndAuthorOf), converted to options.chineseScript when the text is
// judged Chinese. Where titles repeat, those books are named after their sources' files
// instead; where those repeat too, " (2)", " (3)" ... follow. A title that cannot name a file
// ("/" becomes "_", "." and ".." and blank ones kDefaultBookName) is made one; a name is cut
// to what file systems take. A source that cannot be read is named after its file, and
// fails in its turn.
std::vector<std::string> BatchBookPaths(const std::vector<std::string>& sources,
                                        const BookInput& options, const std::string& folder);

} // namespace folivane::engine
