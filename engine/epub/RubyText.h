// Text in the notation of Japanese archive texts written as XHTML, its ruby as markup.
#pragma once

#include "BookLayout.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// Appends `line` (one line, UTF-8) escaped for XML with its notation (SplitNotation) written
// for `version`: a ruby as <ruby>base<rt>reading</rt></ruby> in EPUB 3 and as base（reading）
// in EPUB 2, which has no ruby; annotations left out. Leading white space goes; trailing too
// when `trimEnd`. Returns whether the line showed anything or held no annotation: a line of
// annotations alone shows nothing and is no paragraph.
bool AppendRubyText(std::string& out, std::string_view line, EpubVersion version,
                    bool trimEnd = false);

// Each line of `text` (ending at CR LF, LF or a lone CR) as a paragraph of AppendRubyText,
// blank lines (spacing) and lines of annotations alone left out; one empty paragraph when no
// line is left.
void AppendRubyParagraphs(std::string& out, std::string_view text, EpubVersion version);

} // namespace folivane::engine
