// The opening of the XHTML5 documents of an EPUB 3 book.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// Appends the XML declaration, the HTML5 doctype, <html> in `language` (a BCP 47 tag, as
// xml:lang and lang) with the XHTML and EPUB namespaces, <head> and its UTF-8 character set:
// everything up to what each document puts in its head.
void AppendHtml5Head(std::string& out, std::string_view language);

} // namespace folivane::engine
