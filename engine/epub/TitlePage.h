// OEBPS/titlepage.xhtml: the page that shows the cover picture.
#pragma once

#include "BookLayout.h"

#include <string>

namespace folivane::engine {

// The title page showing the cover picture "cover.<extension>", in `language`: XHTML 1.1 for
// EPUB 2, XHTML5 for EPUB 3, titled `title`, the picture described by `alternative` for
// those who cannot see it.
std::string TitlePage(const std::string& coverExtension, const std::string& language,
                      EpubVersion version, const std::string& title = "Cover",
                      const std::string& alternative = "cover");

} // namespace folivane::engine
