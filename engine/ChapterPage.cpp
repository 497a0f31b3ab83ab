// Chapter pages: a fixed head, the escaped name, one paragraph per line.
#include "ChapterPage.h"

#include "XmlText.h"

namespace folivane::engine {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"zh-CN\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=utf-8\" /><link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/><title>";
constexpr std::string_view kBodyStart = "</title></head><body>";
constexpr std::string_view kTail = "</body></html>";

} // namespace

std::string BuildChapterPage(std::string_view name, std::string_view text) {
    std::string page;
    page.reserve(kHead.size() + name.size() + kBodyStart.size() + text.size() + text.size() / 8 +
                 kTail.size() + 16);
    page += kHead;
    AppendEscapedXmlText(page, name);
    page += kBodyStart;
    std::size_t start = 0;
    do {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        page += "<p>";
        AppendEscapedXmlText(page, text.substr(start, end - start));
        page += "</p>";
        start = end;
        if (start < text.size())
            start += text.compare(start, 2, "\r\n") == 0 ? std::size_t{2} : std::size_t{1};
    } while (start < text.size());
    page += kTail;
    return page;
}

} // namespace folivane::engine
