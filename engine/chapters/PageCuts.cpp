// Cutting long chapters into pages: between lines, and within a line longer than a page.
#include "PageCuts.h"

#include "Paragraphs.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

constexpr bool IsClosingMark(char32_t c) {
    return c == U'"' || c == U'\'' || c == U')' || c == U'\u2019' || c == U'\u201D' ||
           c == U'\u300D' || c == U'\u300F' || c == U'\u300B' || c == U'\u3009' || c == U'\uFF09';
}

// Whether `before` ends a sentence, `after` being what follows it.
bool EndsSentence(std::string_view before, std::string_view after) {
    while (!before.empty() && IsClosingMark(LastCodePoint(before)))
        before.remove_suffix(before.size() - LastCodePointStart(before));
    if (before.empty()) return false;
    switch (LastCodePoint(before)) {
    case U'\u3002': // 。
    case U'\uFF01': // ！
    case U'\uFF1F': // ？
    case U'\u2026': // …
        return true;
    case U'.':
    case U'!':
    case U'?':
        return LeadingSpaceLength(after) != 0; // not 3.14 nor a.m.
    default:
        return false;
    }
}

// Where to end a page that begins at `from` inside a line running past `from + room`.
std::size_t CutWithin(std::string_view text, std::size_t from, std::size_t room) {
    std::size_t end = from + room;
    while (end > from && IsContinuation(text[end]))
        --end;
    const std::size_t lowest = from + room / 2;
    std::size_t space = 0;
    for (std::size_t at = end; at > lowest; --at) {
        if (IsContinuation(text[at])) continue;
        const std::string_view before = text.substr(from, at - from);
        if (EndsSentence(before, text.substr(at))) return at;
        if (space == 0 && TrailingSpaceLength(before) != 0) space = at;
    }
    return space != 0 ? space : end;
}

} // namespace

std::vector<PageRange> CutPages(std::string_view text, PageRange range, ParagraphStyle style) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::vector<PageRange> pages;
    std::size_t pageStart = range.first;
    std::size_t counter = 0;
    std::size_t previousLine = kNone;  // the line before `at` on this page
    std::size_t lastParagraph = kNone; // where the last paragraph that began on this page began
    const auto close = [&](std::size_t at) {
        pages.emplace_back(pageStart, at);
        pageStart = at;
        counter = 0;
        previousLine = kNone;
        lastParagraph = kNone;
    };
    const auto startsParagraph = [&](std::size_t at) {
        return at >= range.second || StartsParagraph(text, previousLine, at, style);
    };
    for (std::size_t at = range.first; at < range.second;) {
        if (at > pageStart && startsParagraph(at)) lastParagraph = at;
        const LineSpan line = LineAt(text, at, range.second);
        std::size_t length = line.end - at;
        std::size_t next = line.next;
        // A line that would carry the page past the size limit ends it: at the last paragraph
        // end on the page, else before this line; a line that does not fit a page of its own
        // either is cut within.
        if (counter + length + 2 > kSizeLimit) {
            if (counter > 0) {
                at = lastParagraph != kNone ? lastParagraph : at;
                close(at);
                continue;
            }
            next = CutWithin(text, at, kPieceThreshold - 2);
            length = next - at;
        }
        counter += length + 2;
        previousLine = at;
        at = next;
        if (counter >= kPieceThreshold && startsParagraph(at)) close(at);
    }
    if (pageStart < range.second || pages.empty()) pages.emplace_back(pageStart, range.second);
    return pages;
}

} // namespace folivane::engine
