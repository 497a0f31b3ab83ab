// The parts of a text around an archive's start and end lines, and the title and author its
// header or file name gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

// The body of a text between an archive's "*** START OF THE PROJECT GUTENBERG EBOOK ..." line
// (the header and the line before it) and its "*** END OF THE PROJECT GUTENBERG EBOOK ..."
// line (it and the licence after it), in any letter case, THIS for THE: bodyBegin is 0 and
// bodyEnd the text's size where there is no such line. A start line counts in the first half
// of the text, an end line after it or in the second half; other "*** ... ***" lines are text.
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

// The same for the source file at `path`, judged from its first 64 KiB, decoded as the book
// would decode it alone (`legacyEncoding`: the user's code page). A file that cannot be read
// gives what its name says. The book's own title is the plan's (DecideBook); this serves a
// front end that must name a file before the plan is known.
TitleAndAuthor TitleAndAuthorOfSource(const std::string& path, const std::string& legacyEncoding);

} // namespace folivane::engine
