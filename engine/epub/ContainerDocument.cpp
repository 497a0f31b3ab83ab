// The container document, pointing at OEBPS/content.opf.
#include "ContainerDocument.h"

namespace folivane::engine {

const char* const kContainerXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><container version=\"1.0\" "
    "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
    "full-path=\"OEBPS/content.opf\" "
    "media-type=\"application/oebps-package+xml\"/></rootfiles></container>";

} // namespace folivane::engine
