// The parts of a text around an archive's start and end lines, and the title and author its
// header or file name gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

// The body of a text between the "*** START OF ..." line (the header and the line before
// it) and the "*** END OF ..." line (it and the licence after it), in any letter case:
// bodyBegin is 0 and bodyEnd the text's size where there is no such line.
struct TextSections {
    std::size_t bodyBegin = 0;
    std::size_t bodyEnd = 0;
    // The header's first line that is not blank, without stars and white space around it and
    // cut to at most 80 characters, to name the header's page; empty without a header.
    std::string headerName;
    std::string endName; // the end line without its stars, to name the page it starts
};
TextSections FindTextSections(std::string_view text);

struct TitleAndAuthor {
    std::string title;
    std::string author;
};

// The title and author a text names in its header (at most its first 60 lines, and none
// after a start line): "Title:"/"Author:" lines, "书名："/"書名："/"作者：" lines, a first line
// "《书名》"; what it does not name, from the file name of `sourcePath`: "《书名》作者：X.txt",
// "书名 作者：X.txt", else the name without ".txt" for the title. Both are UTF-8, trimmed.
TitleAndAuthor TitleAndAuthorOf(std::string_view text, std::string_view sourcePath);

} // namespace folivane::engine
