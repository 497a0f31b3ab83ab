// Source files by their names and sizes, before they are read.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// Whether `path` names a text file: its name ends in ".txt" in any letter case. A book is
// never written to such a name, and only such files are sources.
bool IsTextFileName(std::string_view path);

// A file's size in bytes divided by 1024; 0 when it cannot be opened.
double GetFileSizeKB(const std::string& path);

// The part after the last "/". With wholeName false, that name less its last four
// characters (the ".txt"), or empty when the name is shorter than five characters.
std::string GetFileNameFromPath(const std::string& path, bool wholeName);

} // namespace folivane::engine
