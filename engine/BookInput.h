// Everything one conversion needs, gathered by a front end before the job starts.
#pragma once

#include <string>
#include <vector>

namespace folivane::engine {

// Made on the front end's thread and handed to the job as a value, so the job never
// reads a window.
struct BookInput {
    std::vector<std::string> sources; // full paths of the text files, in book order
    std::string title;
    std::string author;
    std::string publisher;
    std::string coverPath; // empty: no cover
    std::string outputPath;
    // iconv name of the code page of sources that are not UTF-8; empty: detect it.
    std::string legacyEncoding;
};

} // namespace folivane::engine
