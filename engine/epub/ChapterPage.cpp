// Chapter pages: a fixed head, the escaped name, the heading, one paragraph per line.
#include "ChapterPage.h"

#include "Html5Head.h"
#include "RubyText.h"
#include "XmlText.h"

#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

constexpr std::string_view kHeadStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"";
constexpr std::string_view kHeadRest =
    "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />";
constexpr std::string_view kStyleAndTitle =
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/><title>";
constexpr std::string_view kBodyStart = "</title></head><body>";
constexpr std::string_view kTail = "</body></html>";

// What the page shows, the same in every EPUB version: the heading, then the paragraphs.
void AppendChapterBody(std::string& page, std::string_view text, HeadingKind heading,
                       EpubVersion version, bool notation) {
    if (heading != HeadingKind::None) {
        const LineSpan first = LineAt(text, 0);
        const char* tag = heading == HeadingKind::Volume ? "h1" : "h2";
        page += '<';
        page += tag;
        page += '>';
        if (notation)
            AppendRubyText(page, first.In(text), version, true);
        else
            AppendEscapedXmlText(page, TrimSpace(first.In(text)));
        page += "</";
        page += tag;
        page += '>';
        text.remove_prefix(first.next);
        if (text.empty()) return;
    }
    if (notation) {
        AppendRubyParagraphs(page, text, version);
        return;
    }
    // Escaping and cutting into paragraphs in one pass over the text; an empty text still
    // gets its one empty paragraph.
    page += "<p>";
    AppendEscapedXmlLines(page, text, "</p><p>", true);
    page += "</p>";
}

// EPUB 3 readers learn from a headed page's section what kind of division it opens.
std::string_view SectionType(HeadingKind heading) {
    if (heading == HeadingKind::None) return {};
    return heading == HeadingKind::Volume ? "part" : "chapter";
}

} // namespace

void BuildChapterPage(std::string& page, std::string_view name, std::string_view text,
                      HeadingKind heading, std::string_view language, EpubVersion version,
                      bool notation) {
    page.clear();
    // Room for the usual escapes, paragraph marks and EPUB 3's longer head and section, so
    // that a page is built in place.
    page.reserve(kHeadStart.size() + 2 * language.size() + kHeadRest.size() +
                 kStyleAndTitle.size() + name.size() + kBodyStart.size() + text.size() +
                 text.size() / 8 + kTail.size() + 160);
    if (version == EpubVersion::Epub3) {
        AppendHtml5Head(page, language);
    } else {
        page += kHeadStart;
        AppendEscapedXmlText(page, language);
        page += kHeadRest;
    }
    page += kStyleAndTitle;
    AppendEscapedXmlText(page, name);
    page += kBodyStart;
    const std::string_view section = version == EpubVersion::Epub3 ? SectionType(heading) : "";
    if (!section.empty()) {
        page += "<section epub:type=\"";
        page += section;
        page += "\">";
    }
    AppendChapterBody(page, text, heading, version, notation);
    if (!section.empty()) page += "</section>";
    page += kTail;
}

std::string BuildChapterPage(std::string_view name, std::string_view text, HeadingKind heading,
                             std::string_view language, EpubVersion version, bool notation) {
    std::string page;
    BuildChapterPage(page, name, text, heading, language, version, notation);
    return page;
}

} // namespace folivane::engine
