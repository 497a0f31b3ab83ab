// Chapter pages: a fixed head, the escaped name, the heading, the paragraphs.
#include "ChapterPage.h"

#include "Html5Head.h"
#include "RubyText.h"
#include "XmlText.h"

#include "engine/chapters/Notation.h"
#include "engine/chapters/Paragraphs.h"
#include "engine/text/AsciiText.h"
#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

constexpr std::string_view kHeadStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"";
constexpr std::string_view kHeadRest =
    "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />";
constexpr std::string_view kStyle =
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/>";
constexpr std::string_view kUserStyle =
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/user.css\"/>";
constexpr std::string_view kTitle = "<title>";
constexpr std::string_view kBodyStart = "</title></head><body>";
constexpr std::string_view kTail = "</body></html>";

// Whether a line ending in `before` and one beginning with `after` join without a space: CJK
// text has none between its characters, and a word hyphenated at the line end is one word.
bool JoinsWithoutSpace(std::string_view before, std::string_view after) {
    const char32_t last = LastCodePoint(before);
    std::string_view rest = after;
    if (IsCjkCharacter(last) || IsCjkCharacter(TakeCodePoint(rest))) return true;
    if (last != U'-' || before.size() < 2) return false;
    const char32_t letter = LastCodePoint(before.substr(0, before.size() - 1));
    return letter < 0x80 ? IsAsciiLetter(static_cast<char>(letter))
                         : !IsTextSpace(letter) && !IsCjkCharacter(letter);
}

// The page's paragraphs; `afterBreak`: the first one follows a heading.
void AppendParagraphs(std::string& page, std::string_view text, const ParagraphShape& shape,
                      bool afterBreak) {
    const std::vector<Paragraph> paragraphs = BuildParagraphs(text, shape);
    // An empty page still has a paragraph, as XHTML 1.1 wants a block in the body.
    if (paragraphs.empty()) page += "<p></p>";
    std::string joined;
    for (const Paragraph& paragraph : paragraphs) {
        switch (paragraph.kind) {
        case ParagraphKind::BreakGap:
            page += "<hr class=\"break\"/>";
            afterBreak = true;
            continue;
        case ParagraphKind::BreakMarks:
            page += "<p class=\"break\">";
            AppendParagraphText(
                page, TrimSpace(text.substr(paragraph.begin, paragraph.end - paragraph.begin)));
            page += "</p>";
            afterBreak = true;
            continue;
        case ParagraphKind::Verse:
            page += afterBreak ? "<p class=\"first\">" : "<p>";
            for (std::size_t at = paragraph.begin; at < paragraph.end;) {
                const LineSpan line = LineAt(text, at, paragraph.end);
                if (at != paragraph.begin) page += "<br/>";
                AppendParagraphText(page, TrimSpace(line.In(text)));
                at = line.next;
            }
            break;
        case ParagraphKind::Text:
            page += afterBreak ? "<p class=\"first\">" : "<p>";
            joined.clear();
            JoinParagraphLines(joined, text, paragraph.begin, paragraph.end);
            AppendParagraphText(page, joined);
            break;
        }
        page += "</p>";
        afterBreak = false;
    }
}

// What the page shows, the same in every EPUB version: the heading, then the paragraphs.
void AppendChapterBody(std::string& page, std::string_view text, HeadingKind heading,
                       EpubVersion version, const PageOptions& options) {
    const bool notation = options.notation;
    if (heading != HeadingKind::None) {
        // The notation's heading may be a block of lines; any other is the first line.
        const std::size_t end = notation ? NotationHeadingEnd(text) : LineAt(text, 0).next;
        const char* tag = heading == HeadingKind::Volume ? "h1" : "h2";
        page += '<';
        page += tag;
        page += '>';
        if (notation)
            AppendRubyHeading(page, text.substr(0, end), version);
        else
            AppendEscapedXmlText(page, TrimSpace(text.substr(0, LineAt(text, 0).end)));
        page += "</";
        page += tag;
        page += '>';
        text.remove_prefix(end);
        if (IsBlank(text)) return;
    }
    if (notation) {
        AppendRubyParagraphs(page, text, version);
        return;
    }
    AppendParagraphs(page, text, options.paragraphs, heading != HeadingKind::None);
}

// EPUB 3 readers learn from a headed page's section what kind of division it opens.
std::string_view SectionType(HeadingKind heading) {
    if (heading == HeadingKind::None) return {};
    return heading == HeadingKind::Volume ? "part" : "chapter";
}

} // namespace

void AppendParagraphText(std::string& page, std::string_view text) {
    AppendEscapedXmlText(page, text);
}

void JoinParagraphLines(std::string& joined, std::string_view text, std::size_t begin,
                        std::size_t end) {
    for (std::size_t at = begin; at < end;) {
        const LineSpan span = LineAt(text, at, end);
        at = span.next;
        const std::string_view line = TrimSpace(span.In(text));
        if (line.empty()) continue;
        if (!joined.empty() && !JoinsWithoutSpace(joined, line)) joined += ' ';
        joined += line;
    }
}

void BuildChapterPage(std::string& page, std::string_view name, std::string_view text,
                      HeadingKind heading, std::string_view language, EpubVersion version,
                      const PageOptions& options) {
    page.clear();
    // Room for the usual escapes, paragraph marks and EPUB 3's longer head and section, so
    // that a page is built in place.
    page.reserve(kHeadStart.size() + 2 * language.size() + kHeadRest.size() + kStyle.size() +
                 kUserStyle.size() + kTitle.size() + name.size() + kBodyStart.size() + text.size() +
                 text.size() / 8 + kTail.size() + 160);
    if (version == EpubVersion::Epub3) {
        AppendHtml5Head(page, language);
    } else {
        page += kHeadStart;
        AppendEscapedXmlText(page, language);
        page += kHeadRest;
    }
    page += kStyle;
    if (options.userStyleSheet) page += kUserStyle;
    page += kTitle;
    AppendEscapedXmlText(page, name);
    page += kBodyStart;
    const std::string_view section = version == EpubVersion::Epub3 ? SectionType(heading) : "";
    if (!section.empty()) {
        page += "<section epub:type=\"";
        page += section;
        page += "\">";
    }
    AppendChapterBody(page, text, heading, version, options);
    if (!section.empty()) page += "</section>";
    page += kTail;
}

std::string BuildChapterPage(std::string_view name, std::string_view text, HeadingKind heading,
                             std::string_view language, EpubVersion version,
                             const PageOptions& options) {
    std::string page;
    BuildChapterPage(page, name, text, heading, language, version, options);
    return page;
}

} // namespace folivane::engine
