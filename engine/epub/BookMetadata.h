// What the book's documents say about the book itself.
#pragma once

#include "BookLayout.h"
#include "UserStyleSheet.h"

#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// What a book says of itself beyond its title, author and publisher, as readers' libraries
// show it. Every field may be empty; texts are as MetadataText makes them.
struct BookDetails {
    std::string description = std::string();
    std::vector<std::string> subjects = {};
    std::string series = std::string();
    // Its place in the series: a number ("2", "2.5"); only with a series.
    std::string seriesIndex = std::string();
    std::string isbn = std::string();           // 10 or 13 characters as CheckIsbn gives them
    std::string translator = std::string();     // MARC relator trl
    std::vector<std::string> contributors = {}; // MARC relator ctb
    std::string date = std::string();           // of publication, as IsBookDate takes it
    std::string rights = std::string();
    bool operator==(const BookDetails&) const = default;
};

struct BookMetadata {
    std::string title;     // never empty: the job puts the output's name in for a blank title
    std::string author;    // empty: the book names none
    std::string publisher; // empty: the book names none
    std::string uuid;
    std::string language = kDefaultLanguage; // BCP 47, for dc:language and every xml:lang
    EpubVersion epubVersion = EpubVersion::Epub2;
    // Written top to bottom in columns from right to left (VerticalWriting.h); EPUB 3 only.
    bool vertical = false;
    // When the book was made, in UTC as CCYY-MM-DDThh:mm:ssZ; EPUB 3 books carry it.
    std::string modified = "1970-01-01T00:00:00Z";
    // Paragraph indent and spacing in em; negative: the language's habit.
    double indentEm = -1;
    double paragraphSpacingEm = -1;
    std::string userStyleSheet =
        std::string(); // the user's CSS, linked after the book's; empty: none
    std::vector<StyleResource> userStyleResources =
        std::vector<StyleResource>(); // the fonts and pictures it names
    BookDetails details = BookDetails();
};

// A title, author or publisher as the book carries it, whichever front end it came from:
// without the white space around it, and empty when nothing of it would show in the book
// (white space and characters XML cannot hold), since EPUB 3 refuses an empty name.
std::string MetadataText(std::string_view field);

} // namespace folivane::engine
