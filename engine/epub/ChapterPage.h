// One chapter's XHTML page.
#pragma once

#include "BookLayout.h"

#include "engine/chapters/HeadingKind.h"
#include "engine/chapters/ParagraphStyle.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// How a page writes its text and what it links.
struct PageOptions {
    ParagraphShape paragraphs = {}; // how the lines of the page's source make paragraphs
    bool userStyleSheet = false;    // the page links the user's style sheet after the book's
    // The text is in the notation of Japanese archive texts: its lines written by
    // AppendRubyParagraphs (ruby, emphasis, indents and headings as markup), its heading,
    // which may be a block of lines, by AppendRubyHeading.
    bool notation = false;
};

// The page of a chapter, in `language` (a BCP 47 tag): its name as the title, then its text
// in paragraphs as options.paragraphs makes them: a paragraph's lines joined (no space where
// a CJK character meets the join or a line ends in a hyphen after a letter, else one space),
// verse with a <br/> between its lines, mail quotes as nested <blockquote>s of kept lines
// without their ">" marks, a listing as a <pre class="code">, a scene break as <p class="break">
// with its marks or an <hr class="break"/> for a long run of blank lines; the first paragraph after
// a heading or a break is of class "first". Indentation and blank lines are left to the style
// sheet; an empty text gets one empty paragraph. When `heading` is not None the text's first line
// is its heading: an <h1> for a volume, an <h2> for a chapter, without the white space around it; a
// heading alone has no paragraph. Name and text are UTF-8 and are escaped for XML. EPUB 2 gives an
// XHTML 1.1 page; EPUB 3 an XHTML5 one whose headed text lies in a <section> of epub:type "part" (a
// volume) or "chapter", its text exactly as in EPUB 2.
std::string BuildChapterPage(std::string_view name, std::string_view text, HeadingKind heading,
                             std::string_view language, EpubVersion version,
                             const PageOptions& options = {});
// The same into `page`, whose old content goes and whose memory is reused.
void BuildChapterPage(std::string& page, std::string_view name, std::string_view text,
                      HeadingKind heading, std::string_view language, EpubVersion version,
                      const PageOptions& options = {});

// Appends one paragraph's text, escaped for XML: the one place a paragraph's words are
// written.
void AppendParagraphText(std::string& page, std::string_view text);

// Appends the lines text[paragraph) joined as one paragraph's text into `joined`; with
// `fixedCjkWrap` (ParagraphShape) Latin letters and digits on either side of a line end join
// without a space, unless white space stood at the line end.
void JoinParagraphLines(std::string& joined, std::string_view text, std::size_t begin,
                        std::size_t end, bool fixedCjkWrap = false);

} // namespace folivane::engine
