// Composing content.opf, toc.ncx and the pages from the chapter list.
#include "PackageDocuments.h"

#include "ChapterPage.h"
#include "ConversionError.h"
#include "ConversionJob.h"
#include "DocumentWriter.h"
#include "SourceText.h"
#include "TableOfContents.h"
#include "XmlText.h"

#include "zip/EntryPrecompressor.h"

namespace folivane::engine {

std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover) {
    std::string opf =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><package version=\"2.0\" "
        "unique-identifier=\"PrimaryID\" xmlns=\"http://www.idpf.org/2007/opf\"><metadata "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:opf=\"http://www.idpf.org/2007/opf\">";
    opf += "<dc:title>" + EscapeXmlText(book.title) + "</dc:title>";
    opf += "<dc:identifier id=\"PrimaryID\" opf:scheme=\"UUID\">urn:uuid:" + book.uuid +
           "</dc:identifier>";
    opf += "<dc:creator>" + EscapeXmlText(book.author) + "</dc:creator>";
    opf += "<dc:publisher>" + EscapeXmlText(book.publisher) + "</dc:publisher>";
    opf += std::string("<dc:source>") + kSourceAddress + "</dc:source>";
    opf += "<dc:language>" + EscapeXmlText(book.language) + "</dc:language>";
    if (cover) opf += "<meta name=\"cover\" content=\"cover\"/>";
    opf += "</metadata><manifest><item id=\"ncx\" href=\"toc.ncx\" "
           "media-type=\"application/x-dtbncx+xml\"/><item id=\"main-css\" href=\"css/main.css\" "
           "media-type=\"text/css\"/>";
    std::string spine = "<spine toc=\"ncx\">";
    if (cover) {
        opf += "<item href=\"cover." + cover->extension + "\" id=\"cover\" media-type=\"" +
               cover->mediaType +
               "\"/><item href=\"titlepage.xhtml\" id=\"titlepage\" "
               "media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"titlepage\"/>";
    }
    for (std::size_t i = 0; i < chapterCount; ++i) {
        const std::string n = std::to_string(i);
        opf += "<item id=\"txt" + n + "\" href=\"" + n +
               ".html\" media-type=\"application/xhtml+xml\"/>";
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
void AppendNavPoints(std::string& ncx, const std::vector<TocEntry>& entries, int& playOrder) {
    for (const TocEntry& entry : entries) {
        const std::string n = std::to_string(entry.page);
        ncx += "<navPoint id=\"txt" + n + "\" playOrder=\"" + std::to_string(++playOrder) +
               "\"><navLabel><text>" + EscapeXmlText(entry.label) +
               "</text></navLabel><content src=\"" + n + ".html\"/>";
        AppendNavPoints(ncx, entry.children, playOrder);
        ncx += "</navPoint>";
    }
}

} // namespace

std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters) {
    const std::vector<TocEntry> entries = BuildTableOfContents(chapters);
    std::string ncx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE ncx PUBLIC \"-//NISO//DTD "
        "ncx 2005-1//EN\" \"http://www.daisy.org/z3986/2005/ncx-2005-1.dtd\"><ncx "
        "version=\"2005-1\" xmlns=\"http://www.daisy.org/z3986/2005/ncx/\"><head><meta "
        "name=\"dtb:uid\" content=\"urn:uuid:";
    ncx += book.uuid;
    ncx += "\"/><meta name=\"dtb:depth\" content=\"" + std::to_string(TocDepth(entries)) +
           "\"/><meta name=\"dtb:totalPageCount\" content=\"0\"/><meta "
           "name=\"dtb:maxPageNumber\" content=\"0\"/></head>";
    ncx += "<docTitle><text>" + EscapeXmlText(book.title) + "</text></docTitle><navMap>";
    int playOrder = 0;
    AppendNavPoints(ncx, entries, playOrder);
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
        BuildChapterPage(page, chapter.Name, text, chapter.Heading, book.language);
        const std::string path = oebps + std::to_string(i) + ".html";
        WriteWorkingFile(bookFolder, path, page, "the page of chapter \"" + chapter.Name + "\"");
        if (ahead) ahead->Add(path, page);
        progress.ChapterReport(chapter.Name);
        if (progress.CancelRequested()) throw ConversionCancelled();
    }
    WriteDocument(oebps + "content.opf", BuildContentOpf(book, chapters.size(), cover));
    WriteDocument(oebps + "toc.ncx", BuildTocNcx(book, chapters));
}

} // namespace folivane::engine
