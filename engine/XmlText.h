// User text made safe for XML documents.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// "&", "<" and ">" become entities; characters XML 1.0 forbids (controls other than TAB,
// LF and CR, U+FFFE, U+FFFF, and bytes that are not UTF-8) are dropped.
std::string EscapeXmlText(std::string_view utf8);
void AppendEscapedXmlText(std::string& out, std::string_view utf8);

// As EscapeXmlText, and '"' becomes "&quot;", for attribute values.
std::string EscapeXmlAttribute(std::string_view utf8);

} // namespace folivane::engine
