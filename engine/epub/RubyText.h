// Text in the notation of Japanese archive texts written as XHTML: ruby, emphasis, notes,
// kanbun marks, indents and headings as markup and the classes of NotationStyle.
#pragma once

#include "BookLayout.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// Appends `line` (one line, UTF-8) escaped for XML with its notation (ReadNotationLine)
// written for `version`: a ruby as <ruby>base<rt>reading</rt></ruby> in EPUB 3 and as
// base（reading） in EPUB 2, which has no ruby; a style as MarkupOf gives it, closed by the
// line's end; a note as <span class="note">, kanbun marks as <sub>/<sup> of their class; in
// EPUB 3 two half-width digits standing alone as one upright cell (<span class="tcy">).
// Annotations that mark the line as a whole are left to the caller. Leading white space goes;
// trailing too when `trimEnd`. Returns whether the line showed anything or held no
// annotation: a line of annotations alone shows nothing and is no paragraph.
bool AppendRubyText(std::string& out, std::string_view line, EpubVersion version,
                    bool trimEnd = false);

// Each line of `text` (ending at CR LF, LF or a lone CR) as a paragraph or a heading:
// - a line that its annotations, or a block of heading lines, make a heading is an <h1>, <h2>
//   or <h3> (大, 中, 小見出し);
// - else a <p>, of the classes of its indent (N字下げ, or the block's ここからN字下げ with
//   what its wrapped lines take) and its alignment (地付き, 地からN字上げ, or the block's);
//   an indented line keeps its leading white space;
// - 地付き after text on a line sets the rest of it at the end, as a paragraph of its own;
// - a style begun on one line and ended on a later one (ここから太字 ... ここで太字終わり)
//   covers the lines between.
// Blank lines (spacing) and lines of annotations alone make none; one empty paragraph when
// no line is left.
void AppendRubyParagraphs(std::string& out, std::string_view text, EpubVersion version);

// The heading lines a page begins with (text[0, NotationHeadingEnd)): their text, trimmed,
// lines of a block joined by <br/>.
void AppendRubyHeading(std::string& out, std::string_view heading, EpubVersion version);

} // namespace folivane::engine
