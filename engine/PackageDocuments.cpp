// Composing content.opf, toc.ncx, nav.xhtml and the pages from the chapter list.
#include "PackageDocuments.h"

#include "ChapterPage.h"
#include "ConversionError.h"
#include "ConversionJob.h"
#include "DocumentWriter.h"
#include "NavigationDocument.h"
#include "SourceText.h"
#include "TableOfContents.h"
#include "XmlText.h"

#include "zip/EntryPrecompressor.h"

namespace folivane::engine {

std::string PageFileName(std::size_t page, int epubVersion) {
    return std::to_string(page) + (epubVersion == 3 ? ".xhtml" : ".html");
}

std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover) {
    const bool epub3 = book.epubVersion == 3;
    std::string opf = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><package version=\"";
    opf += epub3 ? "3.0" : "2.0";
    opf += "\" unique-identifier=\"PrimaryID\" xmlns=\"http://www.idpf.org/2007/opf\"><metadata "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:opf=\"http://www.idpf.org/2007/opf\">";
    opf += "<dc:title>" + EscapeXmlText(book.title) + "</dc:title>";
    // EPUB 3 has no opf:scheme: the "urn:uuid:" prefix says what the identifier is.
    opf += std::string("<dc:identifier id=\"PrimaryID\"") + (epub3 ? "" : " opf:scheme=\"UUID\"") +
           ">urn:uuid:" + book.uuid + "</dc:identifier>";
    const std::string author = EscapeXmlText(book.author);
    const std::string publisher = EscapeXmlText(book.publisher);
    if (!epub3 || !author.empty()) opf += "<dc:creator>" + author + "</dc:creator>";
    if (!epub3 || !publisher.empty()) opf += "<dc:publisher>" + publisher + "</dc:publisher>";
    opf += std::string("<dc:source>") + kSourceAddress + "</dc:source>";
    opf += "<dc:language>" + EscapeXmlText(book.language) + "</dc:language>";
    if (epub3)
        opf += "<meta property=\"dcterms:modified\">" + EscapeXmlText(book.modified) + "</meta>";
    // EPUB 3 readers find the cover by its item's property, older ones by this.
    if (cover) opf += "<meta name=\"cover\" content=\"cover\"/>";
    opf += "</metadata><manifest><item id=\"ncx\" href=\"toc.ncx\" "
           "media-type=\"application/x-dtbncx+xml\"/>";
    if (epub3)
        opf += "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
               "properties=\"nav\"/>";
    opf += "<item id=\"main-css\" href=\"css/main.css\" media-type=\"text/css\"/>";
    std::string spine = "<spine toc=\"ncx\">";
    if (cover) {
        opf += "<item href=\"cover." + cover->extension + "\" id=\"cover\" media-type=\"" +
               cover->mediaType + (epub3 ? "\" properties=\"cover-image" : "") +
               "\"/><item href=\"titlepage.xhtml\" id=\"titlepage\" "
               "media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"titlepage\"/>";
    }
    for (std::size_t i = 0; i < chapterCount; ++i) {
        const std::string n = std::to_string(i);
        opf += "<item id=\"txt" + n + "\" href=\"" + PageFileName(i, book.epubVersion) +
               "\" media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"txt" + n + "\"/>";
    }
    opf += "</manifest>" + spine + "</spine>";
    if (cover)
        opf +=
            "<guide><reference type=\"cover\" title=\"Cover\" href=\"titlepage.xhtml\"/></guide>";
    opf += "</package>";
    return opf;
}

namespace {

// The navigation points of `entries` and those they hold, numbered in reading order.
void AppendNavPoints(std::string& ncx, const std::vector<TocEntry>& entries, int epubVersion,
                     int& playOrder) {
    for (const TocEntry& entry : entries) {
        ncx += "<navPoint id=\"txt" + std::to_string(entry.page) + "\" playOrder=\"" +
               std::to_string(++playOrder) + "\"><navLabel><text>" + EscapeXmlText(entry.label) +
               "</text></navLabel><content src=\"" + PageFileName(entry.page, epubVersion) + "\"/>";
        AppendNavPoints(ncx, entry.children, epubVersion, playOrder);
        ncx += "</navPoint>";
    }
}

} // namespace

std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters) {
    const std::vector<TocEntry> entries = BuildTableOfContents(chapters);
    std::string ncx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (book.epubVersion != 3)
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
    AppendNavPoints(ncx, entries, book.epubVersion, playOrder);
    ncx += "</navMap></ncx>";
    return ncx;
}

void WritePackageDocuments(const std::string& bookFolder, const BookMetadata& book,
                           const TChapterList& chapters, const CoverImage* cover,
                           const std::string& legacyEncoding, ProgressSink& progress,
                           zip::TEntryPrecompressor* ahead) {
    const std::string oebps = bookFolder + "OEBPS/";
    if (cover) WriteDocument(oebps + "cover." + cover->extension, cover->bytes);
    std::string page; // one buffer for every page: no fresh memory to fault in per page
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const FileList& chapter = chapters[i];
        // Held text goes to the page as it is; only text in a file is read into a string.
        std::string read;
        if (!chapter.Text) read = ChapterText(chapter, legacyEncoding);
        const std::string_view text =
            chapter.Text
                ? std::string_view(*chapter.Text).substr(chapter.Begin, chapter.End - chapter.Begin)
                : std::string_view(read);
        BuildChapterPage(page, PageLabel(chapter, i), text, chapter.Heading, book.language,
                         book.epubVersion);
        const std::string path = oebps + PageFileName(i, book.epubVersion);
        WriteWorkingFile(bookFolder, path, page, "the page of chapter \"" + chapter.Name + "\"");
        if (ahead) ahead->Add(path, page);
        progress.ChapterReport(chapter.Name);
        if (progress.CancelRequested()) throw ConversionCancelled();
    }
    WriteDocument(oebps + "content.opf", BuildContentOpf(book, chapters.size(), cover));
    WriteDocument(oebps + "toc.ncx", BuildTocNcx(book, chapters));
    if (book.epubVersion == 3) {
        const std::string path = oebps + "nav.xhtml";
        page = BuildNavigationDocument(book, chapters, cover != nullptr);
        WriteDocument(path, page);
        if (ahead) ahead->Add(path, std::move(page));
    }
}

} // namespace folivane::engine
