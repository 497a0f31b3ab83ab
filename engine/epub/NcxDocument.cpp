// The NCX: a head with the book's identifier and depth, then nested navigation points.
#include "NcxDocument.h"

#include "PageLabel.h"
#include "XmlText.h"

#include "engine/chapters/TableOfContents.h"

namespace folivane::engine {
namespace {

// The navigation points of `entries` and those they hold, numbered in reading order.
void AppendNavPoints(std::string& ncx, const TChapterList& chapters,
                     const std::vector<TocEntry>& entries, EpubVersion version, int& playOrder) {
    for (const TocEntry& entry : entries) {
        ncx += "<navPoint id=\"txt" + std::to_string(entry.page) + "\" playOrder=\"" +
               std::to_string(++playOrder) + "\"><navLabel><text>" +
               EscapeXmlText(PageLabel(chapters[entry.page], entry.page)) +
               "</text></navLabel><content src=\"" + PageFileName(entry.page, version) + "\"/>";
        AppendNavPoints(ncx, chapters, entry.children, version, playOrder);
        ncx += "</navPoint>";
    }
}

} // namespace

std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters) {
    const std::vector<TocEntry> entries = BuildTableOfContents(chapters);
    std::string ncx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (book.epubVersion != EpubVersion::Epub3)
        ncx += "<!DOCTYPE ncx PUBLIC \"-//NISO//DTD ncx 2005-1//EN\" "
               "\"http://www.daisy.org/z3986/2005/ncx-2005-1.dtd\">";
    ncx += "<ncx version=\"2005-1\" xmlns=\"http://www.daisy.org/z3986/2005/ncx/\"><head><meta "
           "name=\"dtb:uid\" content=\"urn:uuid:";
    ncx += book.uuid;
    ncx += "\"/><meta name=\"dtb:depth\" content=\"" + std::to_string(TocDepth(entries)) +
           "\"/><meta name=\"dtb:totalPageCount\" content=\"0\"/><meta "
           "name=\"dtb:maxPageNumber\" content=\"0\"/></head>";
    ncx += "<docTitle><text>" + EscapeXmlText(book.title) + "</text></docTitle><navMap>";
    int playOrder = 0;
    AppendNavPoints(ncx, chapters, entries, book.epubVersion, playOrder);
    ncx += "</navMap></ncx>";
    return ncx;
}

} // namespace folivane::engine
