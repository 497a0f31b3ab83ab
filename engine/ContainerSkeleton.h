// The book folder's fixed documents: mimetype, container.xml, the style sheet, the title page.
#pragma once

#include <optional>
#include <string>

namespace folivane::engine {

// The fixed texts, exactly as they go into every book.
extern const char* const kMimetype;
extern const char* const kContainerXml;
extern const char* const kMainCss;
// The title page showing the cover picture "cover.<extension>", in `language`: XHTML 1.1 for
// `epubVersion` 2, XHTML5 for 3.
std::string TitlePage(const std::string& coverExtension, const std::string& language = "zh-CN",
                      int epubVersion = 2);

// Creates the book folder with META-INF, OEBPS and OEBPS/css (ending with "/"), and writes
// mimetype, container.xml, main.css and, when there is a cover, titlepage.xhtml. Raises
// ConversionError when a document cannot be written.
void WriteContainerSkeleton(const std::string& bookFolder,
                            const std::optional<std::string>& coverExtension,
                            const std::string& language = "zh-CN", int epubVersion = 2);

} // namespace folivane::engine
