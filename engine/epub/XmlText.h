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

// Whether `utf8` would be empty to an XML reader once escaped: nothing but XML's own white
// space (space, TAB, CR, LF) and characters XML forbids. EPUB 3 refuses such a title or
// label; U+3000 and other white space of text do count as content there.
bool IsEmptyInXml(std::string_view utf8);

// As EscapeXmlText, and '"' becomes "&quot;", for attribute values.
std::string EscapeXmlAttribute(std::string_view utf8);

} // namespace folivane::engine
