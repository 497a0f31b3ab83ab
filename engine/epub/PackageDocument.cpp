// The package document: metadata, manifest, spine and guide in the book's EPUB version.
#include "PackageDocument.h"

#include "PackageMetadata.h"
#include "VerticalWriting.h"
#include "XmlText.h"

namespace folivane::engine {

std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover, bool ruby) {
    const bool epub3 = book.epubVersion == EpubVersion::Epub3;
    std::string opf = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><package version=\"";
    opf += epub3 ? "3.0" : "2.0";
    opf += "\" unique-identifier=\"PrimaryID\" xmlns=\"http://www.idpf.org/2007/opf\"><metadata "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:opf=\"http://www.idpf.org/2007/opf\">";
    opf += "<dc:title>" + EscapeXmlText(book.title) + "</dc:title>";
    // EPUB 3 has no opf:scheme: the "urn:uuid:" prefix says what the identifier is.
    opf += std::string("<dc:identifier id=\"PrimaryID\"") + (epub3 ? "" : " opf:scheme=\"UUID\"") +
           ">urn:uuid:" + book.uuid + "</dc:identifier>";
    // A name that is not there is left out: EPUB 3 refuses an empty one, and an empty one
    // says nothing in EPUB 2 either.
    if (!IsEmptyInXml(book.author))
        opf += "<dc:creator>" + EscapeXmlText(book.author) + "</dc:creator>";
    if (!IsEmptyInXml(book.publisher))
        opf += "<dc:publisher>" + EscapeXmlText(book.publisher) + "</dc:publisher>";
    opf += std::string("<dc:source>") + kSourceAddress + "</dc:source>";
    opf += "<dc:language>" + EscapeXmlText(book.language) + "</dc:language>";
    AppendBookDetails(opf, book);
    if (epub3) {
        opf += "<meta property=\"dcterms:modified\">" + EscapeXmlText(book.modified) + "</meta>";
        AppendAccessibility(opf, book, cover != nullptr, ruby);
    }
    // EPUB 3 readers find the cover by its item's property, older ones by this.
    if (cover) opf += "<meta name=\"cover\" content=\"cover\"/>";
    if (book.vertical) opf += kPrimaryWritingMode;
    // An item of the manifest: the names are those the book's files are written under.
    const auto item = [&opf](std::string_view id, std::string_view href, std::string_view type,
                             std::string_view properties = {}) {
        opf += "<item id=\"";
        opf += id;
        opf += "\" href=\"";
        opf += href;
        opf += "\" media-type=\"";
        opf += type;
        if (!properties.empty()) {
            opf += "\" properties=\"";
            opf += properties;
        }
        opf += "\"/>";
    };
    opf += "</metadata><manifest>";
    item("ncx", kNcxFile, "application/x-dtbncx+xml");
    if (epub3) item("nav", kNavigationFile, "application/xhtml+xml", "nav");
    item("main-css", kStyleSheetFile, "text/css");
    if (!book.userStyleSheet.empty()) item("user-css", kUserStyleSheetFile, "text/css");
    for (std::size_t i = 0; i < book.userStyleResources.size(); ++i) {
        const StyleResource& resource = book.userStyleResources[i];
        item("user-file" + std::to_string(i + 1), EscapeXmlText(resource.href),
             StyleResourceMediaType(resource, book.epubVersion));
    }
    // EPUB 2 has no navigation document: its guide names this page as the contents.
    if (!epub3) item("contents", kContentsPageFile, "application/xhtml+xml");
    std::string spine = "<spine toc=\"ncx\"";
    if (book.vertical) spine += kRightToLeftPages;
    spine += '>';
    if (cover) {
        // These two items have named their href first since the first books; kept so.
        opf += "<item href=\"" + CoverFileName(cover->extension) + "\" id=\"cover\" media-type=\"" +
               cover->mediaType + (epub3 ? "\" properties=\"cover-image" : "") +
               "\"/><item href=\"" + kTitlePageFile +
               "\" id=\"titlepage\" media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"titlepage\"/>";
    }
    for (std::size_t i = 0; i < chapterCount; ++i) {
        const std::string n = std::to_string(i);
        item("txt" + n, PageFileName(i, book.epubVersion), "application/xhtml+xml");
        spine += "<itemref idref=\"txt" + n + "\"/>";
    }
    // The landmarks and the guide name the contents, which must then be in the spine; out of
    // the reading order, as readers show it from their own menu.
    if (epub3) spine += "<itemref idref=\"nav\" linear=\"no\"/>";
    opf += "</manifest>" + spine + "</spine>";
    // Where readers that read the guide find the cover, the contents and the start of the text.
    opf += "<guide>";
    if (cover)
        opf += std::string("<reference type=\"cover\" title=\"Cover\" href=\"") + kTitlePageFile +
               "\"/>";
    opf += std::string("<reference type=\"toc\" title=\"Contents\" href=\"") +
           (epub3 ? std::string(kNavigationFile) + "#toc" : std::string(kContentsPageFile)) +
           "\"/>";
    if (chapterCount > 0)
        opf += "<reference type=\"text\" title=\"Text\" href=\"" +
               PageFileName(0, book.epubVersion) + "\"/>";
    opf += "</guide>";
    opf += "</package>";
    return opf;
}

} // namespace folivane::engine
