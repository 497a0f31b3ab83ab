// Reading the notation: one pass over a line for ruby and annotations, one over the text for
// its legend, page breaks and colophon.
#include "Notation.h"

#include "engine/text/AsciiText.h"
#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>

namespace folivane::engine {
namespace {

constexpr std::string_view kAnnotationStart = "［＃";
constexpr std::string_view kAnnotationEnd = "］";
constexpr std::string_view kReadingStart = "《";
constexpr std::string_view kReadingEnd = "》";
constexpr std::string_view kBaseStart = "｜";
constexpr std::string_view kColophon = "底本：";
// The legend comes before the text: dashed lines further in are the text's own.
constexpr std::size_t kLegendWithinLines = 60;
constexpr std::size_t kShortestDashes = 10;

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF) ||
           (c >= 0x31F0 && c <= 0x31FF);
}

// The kinds of character a ruby base is a run of.
enum class BaseKind { None, Kanji, Katakana, Hiragana, Latin };

BaseKind BaseKindOf(char32_t c) {
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' ||
        c == U'〆' || c == U'〇' || c == U'ヶ')
        return BaseKind::Kanji;
    if ((c >= 0x30A1 && c <= 0x30FA) || c == U'ー' || (c >= 0x31F0 && c <= 0x31FF))
        return BaseKind::Katakana;
    if (c >= 0x3041 && c <= 0x309F) return BaseKind::Hiragana;
    if ((c < 0x80 && IsAsciiLetterOrDigit(static_cast<char>(c))) || (c >= U'０' && c <= U'９') ||
        (c >= U'Ａ' && c <= U'Ｚ') || (c >= U'ａ' && c <= U'ｚ'))
        return BaseKind::Latin;
    return BaseKind::None;
}

// How many bytes at the end of `text` are a run of one kind of base character.
std::size_t TrailingBase(std::string_view text) {
    if (text.empty()) return 0;
    const BaseKind kind = BaseKindOf(LastCodePoint(text));
    if (kind == BaseKind::None) return 0;
    std::size_t start = text.size();
    while (start > 0) {
        const std::size_t previous = LastCodePointStart(text.substr(0, start));
        if (BaseKindOf(LastCodePoint(text.substr(0, start))) != kind) break;
        start = previous;
    }
    return text.size() - start;
}

bool IsReading(std::string_view reading) {
    if (reading.empty()) return false;
    while (!reading.empty())
        if (!IsKana(TakeCodePoint(reading))) return false;
    return true;
}

// Calls `annotation` with the body of each annotation in `line`.
template <typename F> void ForEachAnnotation(std::string_view line, F annotation) {
    for (std::size_t at = line.find(kAnnotationStart); at != std::string_view::npos;
         at = line.find(kAnnotationStart, at + 1)) {
        const std::size_t body = at + kAnnotationStart.size();
        const std::size_t end = line.find(kAnnotationEnd, body);
        if (end == std::string_view::npos) return;
        annotation(line.substr(body, end - body));
    }
}

bool IsDashedLine(std::string_view line) {
    const std::string_view trimmed = TrimSpace(line);
    return trimmed.size() >= kShortestDashes &&
           std::ranges::all_of(trimmed, [](char c) { return c == '-'; });
}

bool IsPageBreak(std::string_view line) {
    bool pageBreak = false;
    ForEachAnnotation(line, [&](std::string_view body) {
        pageBreak = pageBreak || body == "改ページ" || body == "改丁" || body == "改見開き";
    });
    return pageBreak && IsBlank(PlainNotationText(line));
}

} // namespace

bool SplitNotation(std::string_view line, std::vector<NotationPiece>& pieces) {
    pieces.clear();
    bool annotated = false;
    std::size_t textStart = 0;
    std::size_t base = std::string_view::npos; // where the last ｜ is, in the pending text
    const auto flush = [&](std::size_t end) {
        if (end > textStart) pieces.push_back({line.substr(textStart, end - textStart), {}});
    };
    for (std::size_t at = 0; at < line.size();) {
        const std::string_view rest = line.substr(at);
        if (rest.starts_with(kAnnotationStart)) {
            const std::size_t end = line.find(kAnnotationEnd, at + kAnnotationStart.size());
            if (end != std::string_view::npos) {
                flush(at);
                annotated = true;
                at = textStart = end + kAnnotationEnd.size();
                base = std::string_view::npos;
                continue;
            }
        } else if (rest.starts_with(kBaseStart)) {
            base = at;
        } else if (rest.starts_with(kReadingStart)) {
            const std::size_t readingAt = at + kReadingStart.size();
            const std::size_t end = line.find(kReadingEnd, readingAt);
            if (end != std::string_view::npos &&
                IsReading(line.substr(readingAt, end - readingAt))) {
                const std::size_t baseAt =
                    base != std::string_view::npos
                        ? base + kBaseStart.size()
                        : at - TrailingBase(line.substr(textStart, at - textStart));
                if (baseAt < at) {
                    flush(base != std::string_view::npos ? base : baseAt);
                    pieces.push_back({line.substr(baseAt, at - baseAt),
                                      line.substr(readingAt, end - readingAt)});
                    at = textStart = end + kReadingEnd.size();
                    base = std::string_view::npos;
                    continue;
                }
            }
        }
        std::string_view next = rest;
        TakeCodePoint(next);
        at += rest.size() - next.size();
    }
    flush(line.size());
    return annotated;
}

std::string PlainNotationText(std::string_view line) {
    std::vector<NotationPiece> pieces;
    SplitNotation(line, pieces);
    std::string plain;
    for (const NotationPiece& piece : pieces)
        plain += piece.text;
    return plain;
}

HeadingKind AnnotatedHeading(std::string_view line) {
    HeadingKind kind = HeadingKind::None;
    ForEachAnnotation(line, [&](std::string_view body) {
        if (body.ends_with("大見出し")) kind = HeadingKind::Volume;
        if (body.ends_with("中見出し") && kind == HeadingKind::None) kind = HeadingKind::Chapter;
    });
    return kind;
}

NotationLayout FindNotationLayout(std::string_view text) {
    NotationLayout layout;
    const bool annotated = text.find(kAnnotationStart) != std::string_view::npos;
    if (!annotated && text.find(kReadingStart) == std::string_view::npos) return layout;
    bool legendNamesNotation = false;
    bool legendDone = false;
    for (std::size_t begin = 0, line = 0; begin < text.size(); ++line) {
        const LineSpan span = LineAt(text, begin);
        const std::string_view content = span.In(text);
        const bool inLegend = layout.legendBegin != NotationLayout::npos && !legendDone;
        if (!legendDone && IsDashedLine(content)) {
            if (!inLegend) {
                if (line < kLegendWithinLines) layout.legendBegin = span.begin;
            } else {
                // Dashed lines around something else are the text's own.
                if (legendNamesNotation)
                    layout.legendEnd = span.next;
                else
                    layout.legendBegin = NotationLayout::npos;
                legendDone = true;
            }
        } else if (inLegend) {
            legendNamesNotation = legendNamesNotation || content.find("《》") != content.npos ||
                                  content.find("［＃］") != content.npos ||
                                  content.find("記号") != content.npos;
        } else if (layout.colophonBegin == NotationLayout::npos &&
                   TrimSpace(content).starts_with(kColophon)) {
            layout.colophonBegin = span.begin;
        }
        if (annotated && content.find(kAnnotationStart) != std::string_view::npos &&
            IsPageBreak(content))
            layout.pageBreaks.push_back(span.begin);
        if (span.end == text.size()) break;
        // Without annotations only a legend at the top makes the notation: past where it
        // would begin, a text without one needs no further look.
        if (!annotated && layout.legendBegin == NotationLayout::npos && line >= kLegendWithinLines)
            break;
        if (!annotated && legendDone && layout.legendEnd == NotationLayout::npos) break;
        begin = span.next;
    }
    if (layout.legendEnd == NotationLayout::npos) layout.legendBegin = NotationLayout::npos;
    layout.used = annotated || layout.legendEnd != NotationLayout::npos;
    if (!layout.used) layout = {};
    return layout;
}

bool IsNotationBlank(std::string_view text) {
    for (std::size_t begin = 0; begin < text.size();) {
        const LineSpan span = LineAt(text, begin);
        if (!IsBlank(PlainNotationText(span.In(text)))) return false;
        if (span.end == text.size()) break;
        begin = span.next;
    }
    return true;
}

std::pair<std::string, std::string> NotationTitleAndAuthor(std::string_view text) {
    std::string lines[2];
    std::size_t found = 0;
    for (std::size_t begin = 0; begin < text.size() && found < 2;) {
        const LineSpan span = LineAt(text, begin);
        std::string plain = PlainNotationText(span.In(text));
        if (!IsBlank(plain)) lines[found++] = std::string(TrimSpace(plain));
        if (span.end == text.size()) break;
        begin = span.next;
    }
    return {lines[0], lines[1]};
}

} // namespace folivane::engine
