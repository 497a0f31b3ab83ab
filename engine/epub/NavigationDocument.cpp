// The navigation document: table of contents and landmarks as nested lists of links.
#include "NavigationDocument.h"

#include "Html5Head.h"
#include "PageLabel.h"
#include "XmlText.h"

#include "engine/chapters/TableOfContents.h"

namespace folivane::engine {
namespace {

// The list of `entries`, each holding the list of its own.
void AppendList(std::string& nav, const TChapterList& chapters,
                const std::vector<TocEntry>& entries, EpubVersion version) {
    nav += "<ol>";
    for (const TocEntry& entry : entries) {
        nav += "<li><a href=\"" + PageFileName(entry.page, version) + "\">" +
               EscapeXmlText(PageLabel(chapters[entry.page], entry.page)) + "</a>";
        if (!entry.children.empty()) AppendList(nav, chapters, entry.children, version);
        nav += "</li>";
    }
    nav += "</ol>";
}

} // namespace

std::string BuildNavigationDocument(const BookMetadata& book, const TChapterList& chapters,
                                    bool hasCover) {
    const std::vector<TocEntry> entries = BuildTableOfContents(chapters);
    std::string nav;
    AppendHtml5Head(nav, book.language);
    nav += "<title>" + EscapeXmlText(book.title) + "</title></head><body>";
    nav += "<nav epub:type=\"toc\" id=\"toc\">";
    AppendList(nav, chapters, entries, book.epubVersion);
    nav += "</nav>";
    // Where a reader opens the book and where its cover is; not shown as part of the text.
    nav += "<nav epub:type=\"landmarks\" id=\"landmarks\" hidden=\"hidden\"><ol>";
    if (hasCover)
        nav += std::string("<li><a epub:type=\"cover\" href=\"") + kTitlePageFile +
               "\">Cover</a></li>";
    nav += "<li><a epub:type=\"toc\" href=\"#toc\">Contents</a></li>";
    if (!entries.empty()) {
        nav += "<li><a epub:type=\"bodymatter\" href=\"" +
               PageFileName(entries.front().page, book.epubVersion) + "\">" +
               EscapeXmlText(PageLabel(chapters[entries.front().page], entries.front().page)) +
               "</a></li>";
    }
    nav += "</ol></nav></body></html>";
    return nav;
}

std::string BuildContentsPage(const BookMetadata& book, const TChapterList& chapters) {
    std::string page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html "
                       "xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"" +
                       EscapeXmlAttribute(book.language) +
                       "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                       "charset=UTF-8\"/><link rel=\"stylesheet\" type=\"text/css\" "
                       "href=\"css/main.css\"/><title>" +
                       EscapeXmlText(book.title) + "</title></head><body><h1>" +
                       EscapeXmlText(book.title) + "</h1>";
    // XHTML 1.1 wants an item in every list.
    if (const std::vector<TocEntry> entries = BuildTableOfContents(chapters); !entries.empty())
        AppendList(page, chapters, entries, book.epubVersion);
    page += "</body></html>";
    return page;
}

} // namespace folivane::engine
