// One chapter's XHTML page.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// The page of a chapter: its name as the title, each line of the text (ending at CR LF,
// LF or a lone CR) as one paragraph, an empty line as an empty paragraph, and one empty
// paragraph for an empty text. Name and text are UTF-8 and are escaped for XML.
std::string BuildChapterPage(std::string_view name, std::string_view text);
// The same into `page`, whose old content goes and whose memory is reused.
void BuildChapterPage(std::string& page, std::string_view name, std::string_view text);

} // namespace folivane::engine
