// Page labels that always show something.
#include "PageLabel.h"

#include "XmlText.h"

namespace folivane::engine {

std::string PageLabel(const FileList& page, std::size_t index) {
    // An entry or title without text is one a reader cannot show, and EPUB 3 refuses it.
    if (IsEmptyInXml(page.Name)) return std::to_string(index + 1);
    return page.Name;
}

} // namespace folivane::engine
