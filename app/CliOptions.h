// Command line of folivane-cli: options and source files, or what is wrong with them.
#pragma once

#include "engine/job/BookInput.h"

#include <string>
#include <vector>

namespace folivane::cli {

struct CliOptions {
    engine::BookInput book;
    bool quiet = false;
    bool help = false;
    bool version = false;
    // --list: print the book's plan in this format ("text" or "json") and write nothing.
    bool list = false;
    std::string listFormat = "text";
    // --each: one book per source (app/EachRun.h); `inputs` are the files and folders given
    // and the book's output is the folder of the books.
    bool each = false;
    std::vector<std::string> inputs;
    std::size_t jobs = 0; // --jobs: books made at once; 0, the number of cores
    bool skipExisting = false;
    // --explain: --list, each source with the figures its paragraph style was judged by.
    bool explain = false;
    std::string error; // not empty: a usage error to show with the usage text
};

// Reads the arguments after the program name. Sources must end in ".txt" (any letter
// case), or with --each be folders; "--" ends the options so a source may begin with "-".
// Without -o the book is the title (or "myepub") followed by ".epub" in the working folder.
CliOptions ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace folivane::cli
