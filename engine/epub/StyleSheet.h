// OEBPS/css/main.css: how every page of the book looks.
#pragma once

#include <string>

namespace folivane::engine {

// What the book's style sheet follows.
struct BookStyle {
    std::string language = "en"; // BCP 47: CJK books indent by two characters, others less
    double indentEm = -1;        // first-line indent of a paragraph; negative: the language's
    double spacingEm = -1;       // space between paragraphs; negative: the language's, or
                                 // some when paragraphs are not indented
};

// The style sheet of a book of `style`: no negative margins, a comfortable line height,
// centred headings and breaks, and one rule per selector, as FBReader ignores grouped ones.
std::string StyleSheet(const BookStyle& style);

// The largest indent and spacing the options take, in em.
inline constexpr double kMaxStyleEm = 10;

} // namespace folivane::engine
