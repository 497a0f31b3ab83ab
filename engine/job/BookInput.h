// Everything one conversion needs, gathered by a front end before the job starts.
#pragma once

#include "engine/chapters/ChapterList.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/epub/BookLayout.h"
#include "engine/epub/BookMetadata.h"
#include "engine/text/ChineseScript.h"

#include <cstddef>
#include <string>
#include <vector>

namespace folivane::engine {

// The book's name, and its file's, when the user gives none.
inline constexpr const char* kDefaultBookName = "myepub";

// Made on the front end's thread and handed to the job as a value, so the job never
// reads a window.
struct BookInput {
    std::vector<std::string> sources; // full paths of the text files, in book order
    std::string title;
    std::string author;
    std::string publisher;
    std::string coverPath; // empty: no cover picture
    // Without a cover picture, a cover made from the title and author (MakeTitleCover). Off
    // here so that a caller asks for it; both front ends do unless the user says not.
    bool titleCover = false;
    // Description, subjects, series, ISBN, translator ...: the user's, checked by the front
    // end (CheckIsbn, IsBookDate); where one is empty the text's header may give it.
    BookDetails details;
    std::string outputPath;
    // iconv name of the code page of sources that are not UTF-8; empty: detect it.
    std::string legacyEncoding;

    ChapterMode chapters = ChapterMode::Auto;
    // How lines make paragraphs; Auto: judged for each source from its text.
    ParagraphChoice paragraphs = ParagraphChoice::Auto;
    // Paragraph indent and spacing in em (0 to kMaxStyleEm); negative: the language's habit.
    double indentEm = -1;
    double paragraphSpacingEm = -1;
    // The user's style sheet, added after the book's; empty: none.
    std::string styleSheetPath;
    // PCRE2 patterns that replace the built-in heading rules; both empty: the built-in ones.
    std::string chapterPattern;
    std::string volumePattern;
    // A heading line holds at most this many characters.
    std::size_t maxHeadingLength = kDefaultMaxHeadingLength;
    // BCP 47 tag of the book's language; empty: judged from the text.
    std::string language;
    // The script the book's Chinese is written in: the text of each source judged Chinese,
    // the labels of its pages, the book's title, author, publisher and details when the book
    // is judged or tagged Chinese, and its language tag, which follows (ConvertedLanguageTag).
    ChineseScript chineseScript = ChineseScript::Keep;
    // The code page the user chose for each source, by index (iconv names such as GB18030;
    // empty: as legacyEncoding and detection decide). A byte-order mark still decides.
    std::vector<std::string> sourceEncodings;
    EpubVersion epubVersion = EpubVersion::Epub2;
    // Written vertically, columns right to left: EPUB 3 only, EPUB 2 has no such style.
    bool vertical = false;
    // Decoded text held in memory for the pages, in bytes; the texts beyond it are kept in
    // pieces in the job's working folder. Front ends leave it; tests lower it to reach that
    // path with small sources.
    std::size_t heldTextBudget = ChapterListOptions().heldTextBudget;
};

} // namespace folivane::engine
