// One chapter's XHTML page.
#pragma once

#include "BookLayout.h"

#include "engine/chapters/HeadingKind.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// The page of a chapter, in `language` (a BCP 47 tag): its name as the title, each line of
// the text (ending at CR LF, LF or a lone CR) as one paragraph without its indentation
// (spaces, tabs, U+3000: the style sheet indents), an empty line as an empty paragraph, and
// one empty paragraph for an empty text. When `heading` is not None the text's first line is
// its heading: an <h1> for a volume, an <h2> for a chapter, without the white space around
// it; a heading alone has no paragraph. Name and text are UTF-8 and are escaped for XML.
// EPUB 2 gives an XHTML 1.1 page; EPUB 3 an XHTML5 one whose headed text lies in a <section>
// of epub:type "part" (a volume) or "chapter", its text exactly as in EPUB 2. With `notation`
// the heading and each line are written by AppendRubyText (ruby, annotations left out).
std::string BuildChapterPage(std::string_view name, std::string_view text, HeadingKind heading,
                             std::string_view language, EpubVersion version, bool notation = false);
// The same into `page`, whose old content goes and whose memory is reused.
void BuildChapterPage(std::string& page, std::string_view name, std::string_view text,
                      HeadingKind heading, std::string_view language, EpubVersion version,
                      bool notation = false);

} // namespace folivane::engine
