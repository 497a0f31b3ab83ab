// User text made safe for XML documents.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// "&", "<" and ">" become entities; characters XML 1.0 forbids (controls other than TAB,
// LF and CR, U+FFFE, U+FFFF, and bytes that are not UTF-8) are dropped.
std::string EscapeXmlText(std::string_view utf8);
void AppendEscapedXmlText(std::string& out, std::string_view utf8);
// As AppendEscapedXmlText, with every line end (CR LF, LF or a lone CR) written as
// `lineBreak`, except one that ends the text, which is dropped. With `trimIndent` each line
// loses its leading spaces, tabs and ideographic spaces (U+3000).
void AppendEscapedXmlLines(std::string& out, std::string_view utf8, std::string_view lineBreak,
                           bool trimIndent = false);

// As EscapeXmlText, and '"' becomes "&quot;", for attribute values.
std::string EscapeXmlAttribute(std::string_view utf8);

} // namespace folivane::engine
