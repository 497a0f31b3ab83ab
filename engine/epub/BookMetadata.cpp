// The one way a front end's book information becomes the book's.
#include "BookMetadata.h"

#include "XmlText.h"

#include "engine/text/WhiteSpace.h"

namespace folivane::engine {

std::string MetadataText(std::string_view field) {
    const std::string_view trimmed = TrimSpace(field);
    return IsEmptyInXml(trimmed) ? std::string() : std::string(trimmed);
}

} // namespace folivane::engine
