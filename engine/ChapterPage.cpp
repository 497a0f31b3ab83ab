// Chapter pages: a fixed head, the escaped name, the heading, one paragraph per line.
#include "ChapterPage.h"

#include "Html5Head.h"
#include "XmlText.h"

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

// Where the text's first line ends, and where the next one begins.
std::pair<std::size_t, std::size_t> FirstLine(std::string_view text) {
    const std::size_t end = std::min(text.find('\n'), text.find('\r'));
    if (end == std::string_view::npos) return {text.size(), text.size()};
    return {end, end + (text.substr(end, 2) == "\r\n" ? 2 : 1)};
}

// What the page shows, the same in every EPUB version: the heading, then the paragraphs.
void AppendChapterBody(std::string& page, std::string_view text, HeadingKind heading) {
    if (heading != HeadingKind::None) {
        const auto [end, next] = FirstLine(text);
        const char* tag = heading == HeadingKind::Volume ? "h1" : "h2";
        page += '<';
        page += tag;
        page += '>';
        AppendEscapedXmlText(page, TrimHeadingSpace(text.substr(0, end)));
        page += "</";
        page += tag;
        page += '>';
        text.remove_prefix(next);
        if (text.empty()) return;
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
                      HeadingKind heading, std::string_view language, int epubVersion) {
    page.clear();
    // Room for the usual escapes, paragraph marks and EPUB 3's longer head and section, so
    // that a page is built in place.
    page.reserve(kHeadStart.size() + 2 * language.size() + kHeadRest.size() +
                 kStyleAndTitle.size() + name.size() + kBodyStart.size() + text.size() +
                 text.size() / 8 + kTail.size() + 160);
    if (epubVersion == 3) {
        AppendHtml5Head(page, language);
    } else {
        page += kHeadStart;
        AppendEscapedXmlText(page, language);
        page += kHeadRest;
    }
    page += kStyleAndTitle;
    AppendEscapedXmlText(page, name);
    page += kBodyStart;
    const std::string_view section = epubVersion == 3 ? SectionType(heading) : "";
    if (!section.empty()) {
        page += "<section epub:type=\"";
        page += section;
        page += "\">";
    }
    AppendChapterBody(page, text, heading);
    if (!section.empty()) page += "</section>";
    page += kTail;
}

std::string BuildChapterPage(std::string_view name, std::string_view text, HeadingKind heading,
                             std::string_view language, int epubVersion) {
    std::string page;
    BuildChapterPage(page, name, text, heading, language, epubVersion);
    return page;
}

} // namespace folivane::engine
