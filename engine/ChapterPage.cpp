// Chapter pages: a fixed head, the escaped name, one paragraph per line.
#include "ChapterPage.h"

#include "XmlText.h"

namespace folivane::engine {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"zh-CN\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=utf-8\" /><link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/><title>";
constexpr std::string_view kBodyStart = "</title></head><body><p>";
constexpr std::string_view kTail = "</p></body></html>";

} // namespace

void BuildChapterPage(std::string& page, std::string_view name, std::string_view text) {
    page.clear();
    // Room for the usual escapes and paragraph marks, so that a page is built in place.
    page.reserve(kHead.size() + name.size() + kBodyStart.size() + text.size() + text.size() / 8 +
                 kTail.size() + 16);
    page += kHead;
    AppendEscapedXmlText(page, name);
    page += kBodyStart;
    // Escaping and cutting into paragraphs in one pass over the text; an empty text still
    // gets its one empty paragraph.
    AppendEscapedXmlLines(page, text, "</p><p>");
    page += kTail;
}

std::string BuildChapterPage(std::string_view name, std::string_view text) {
    std::string page;
    BuildChapterPage(page, name, text);
    return page;
}

} // namespace folivane::engine
