// A cover picture made from the book's title and author, for books given no cover.
#pragma once

#include "CoverFont.h"

#include <string>

namespace folivane::engine {

// The size of the picture: the 1:1.6 of e-book covers, at the resolution stores ask for.
inline constexpr int kTitleCoverWidth = 1600;
inline constexpr int kTitleCoverHeight = 2560;

// What the cover shows. `title` and `author` are UTF-8 (line breaks and runs of white space
// are read as one space); `language` is the book's BCP 47 tag, which chooses the font
// (Chinese in Simplified or Traditional forms, Japanese, ...) and its shaping; `vertical`
// sets the title in columns, right to left, as a book written vertically is.
struct TitleCoverText {
    std::string title;
    std::string author; // may be empty
    std::string language;
    bool vertical = false;

    bool operator==(const TitleCoverText&) const = default;
};

// The picture, or why there is none.
struct TitleCover {
    std::string png;     // a kTitleCoverWidth × kTitleCoverHeight PNG; empty when none was made
    std::string problem; // when `png` is empty: why, one line a front end shows as it is
    FontFace titleFace;  // the faces used, when `png` was made
    FontFace authorFace;
    double titleSize = 0;        // the title's size in pixels of the em square
    bool titleShortened = false; // the title did not fit whole and ends with an ellipsis
};

// Makes the cover: the title wrapped over lines (columns when vertical) at the largest size
// that fits, the author below it (to its left when vertical), on a plain background whose
// colour comes from the title. The same text and the same installed fonts give the same
// bytes. The fonts are found with fontconfig (FONTCONFIG_FILE and the usual configuration,
// read at each call); a face is used only when it has a glyph for every character of its
// text, so that no cover shows boxes: when none has, or the title is empty, no picture and
// a `problem`. Raises only std::bad_alloc. Any thread; calls share nothing.
TitleCover MakeTitleCover(const TitleCoverText& text);

// The same with the installed fonts as `fonts` read them (a caller may read them ahead); one
// call at a time with the same `fonts`.
TitleCover MakeTitleCover(const TitleCoverText& text, const CoverFonts& fonts);

} // namespace folivane::engine
