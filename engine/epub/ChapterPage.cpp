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

#include <algorithm>

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
// In CJK text wrapped at a fixed width (`fixedCjkWrap`) a line end between Latin letters or
// digits is the wrap's, within a word, unless white space stood at it (`spaceAtEnd`).
bool JoinsWithoutSpace(std::string_view before, std::string_view after, bool fixedCjkWrap,
                       bool spaceAtEnd) {
    const char32_t last = LastCodePoint(before);
    std::string_view rest = after;
    const char32_t first = TakeCodePoint(rest);
    if (IsCjkCharacter(last) || IsCjkCharacter(first)) return true;
    const auto latin = [](char32_t c) {
        return c < 0x80 && IsAsciiLetterOrDigit(static_cast<char>(c));
    };
    if (fixedCjkWrap && !spaceAtEnd && latin(last) && latin(first)) return true;
    if (last != U'-' || before.size() < 2) return false;
    const char32_t letter = LastCodePoint(before.substr(0, before.size() - 1));
    return letter < 0x80 ? IsAsciiLetter(static_cast<char>(letter))
                         : !IsTextSpace(letter) && !IsCjkCharacter(letter);
}

// Joins the lines text[begin, end) as one paragraph's text, handing `put` each line less its
// white space and the spaces between them, in order; `before` is what the joined text
// already holds. Only the joined text's last two characters decide a join, so only its last
// bytes are kept: a paragraph is escaped onto its page as it is joined, in one pass.
template <class Put>
void JoinLines(std::string_view text, std::size_t begin, std::size_t end, bool fixedCjkWrap,
               std::string_view before, Put put) {
    constexpr std::size_t kKept = 8; // two characters of at most four bytes
    char tail[kKept];
    std::size_t tailSize = 0;
    const auto keep = [&](std::string_view piece) {
        if (piece.size() >= kKept) {
            piece.copy(tail, kKept, piece.size() - kKept);
            tailSize = kKept;
            return;
        }
        const std::size_t drop =
            tailSize + piece.size() > kKept ? tailSize + piece.size() - kKept : 0;
        std::copy(tail + drop, tail + tailSize, tail);
        tailSize -= drop;
        piece.copy(tail + tailSize, piece.size());
        tailSize += piece.size();
    };
    keep(before);
    bool spaceAtEnd = false; // white space stood at the end of the line before
    for (std::size_t at = begin; at < end;) {
        const LineSpan span = LineAt(text, at, end);
        at = span.next;
        const std::string_view raw = span.In(text);
        const std::string_view line = TrimSpace(raw);
        if (line.empty()) continue;
        const bool spaceAtStart = line.data() != raw.data();
        if (tailSize > 0 && !JoinsWithoutSpace(std::string_view(tail, tailSize), line, fixedCjkWrap,
                                               spaceAtEnd || spaceAtStart)) {
            put(" ");
            keep(" ");
        }
        put(line);
        keep(line);
        spaceAtEnd = line.data() + line.size() != raw.data() + raw.size();
    }
}

// The depth of a quoted line (its ">" marks, spaces between them allowed) and its text.
std::pair<std::size_t, std::string_view> QuotedLine(std::string_view line) {
    std::size_t depth = 0;
    for (;;) {
        const std::size_t mark = line.find_first_not_of(' ');
        if (mark == std::string_view::npos || line[mark] != '>') break;
        line.remove_prefix(mark + 1);
        ++depth;
    }
    return {depth, TrimSpace(line)};
}

// Mail quotes as nested blockquotes, a level for each ">"; the marks are what plain text
// draws a quote's margin with, so they go. Lines of one level are kept as lines, a quoted
// blank line parts paragraphs.
void AppendQuote(std::string& page, std::string_view text, const Paragraph& quote) {
    std::size_t opened = 0;
    bool inParagraph = false;
    for (std::size_t at = quote.begin; at < quote.end;) {
        const LineSpan line = LineAt(text, at, quote.end);
        at = line.next;
        const auto [depth, words] = QuotedLine(line.In(text));
        if (inParagraph && (words.empty() || depth != opened)) {
            page += "</p>";
            inParagraph = false;
        }
        if (words.empty()) continue;
        for (; opened > depth; --opened)
            page += "</blockquote>";
        for (; opened < depth; ++opened)
            page += "<blockquote>";
        page += inParagraph ? "<br/>" : "<p>";
        inParagraph = true;
        AppendParagraphText(page, words);
    }
    if (inParagraph) page += "</p>";
    for (; opened > 0; --opened)
        page += "</blockquote>";
}

// A listing as it stands, less the indentation all its lines share.
void AppendCode(std::string& page, std::string_view text, const Paragraph& code) {
    std::string_view shared;
    for (std::size_t at = code.begin; at < code.end;) {
        const LineSpan line = LineAt(text, at, code.end);
        const std::string_view content = line.In(text);
        const std::string_view indent =
            content.substr(0, content.find_first_not_of(" \t") == std::string_view::npos
                                  ? content.size()
                                  : content.find_first_not_of(" \t"));
        if (at == code.begin) {
            shared = indent;
        } else {
            std::size_t same = 0;
            while (same < shared.size() && same < indent.size() && shared[same] == indent[same])
                ++same;
            shared = shared.substr(0, same);
        }
        at = line.next;
    }
    page += "<pre class=\"code\">";
    for (std::size_t at = code.begin; at < code.end;) {
        const LineSpan line = LineAt(text, at, code.end);
        if (at != code.begin) page += '\n';
        std::string_view content = line.In(text).substr(shared.size());
        while (!content.empty() && (content.back() == ' ' || content.back() == '\t'))
            content.remove_suffix(1);
        AppendParagraphText(page, content);
        at = line.next;
    }
    page += "</pre>";
}

// The page's paragraphs; `afterBreak`: the first one follows a heading.
void AppendParagraphs(std::string& page, std::string_view text, const ParagraphShape& shape,
                      bool afterBreak) {
    const std::vector<Paragraph> paragraphs = BuildParagraphs(text, shape);
    // An empty page still has a paragraph, as XHTML 1.1 wants a block in the body.
    if (paragraphs.empty()) page += "<p></p>";
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
        case ParagraphKind::Quote:
            AppendQuote(page, text, paragraph);
            afterBreak = false;
            continue;
        case ParagraphKind::Code:
            AppendCode(page, text, paragraph);
            afterBreak = false;
            continue;
        case ParagraphKind::Text:
            page += afterBreak ? "<p class=\"first\">" : "<p>";
            JoinLines(text, paragraph.begin, paragraph.end, shape.fixedCjkWrap, {},
                      [&page](std::string_view piece) { AppendParagraphText(page, piece); });
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
                        std::size_t end, bool fixedCjkWrap) {
    JoinLines(text, begin, end, fixedCjkWrap, joined,
              [&joined](std::string_view piece) { joined += piece; });
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
