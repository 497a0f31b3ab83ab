// Reading the notation over a text: its legend, page breaks, colophon and heading blocks;
// each line read by ReadNotationLine.
#include "Notation.h"

#include "engine/text/TextLines.h"
#include "engine/text/TextSearch.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>

namespace folivane::engine {
namespace {

constexpr std::string_view kAnnotationStart = "［＃";
constexpr std::string_view kReadingStart = "《";
constexpr std::string_view kColophon = "底本：";
// The legend comes before the text: dashed lines further in are the text's own.
constexpr std::size_t kLegendWithinLines = 60;
constexpr std::size_t kShortestDashes = 10;

bool IsDashedLine(std::string_view line) {
    const std::string_view trimmed = TrimSpace(line);
    return trimmed.size() >= kShortestDashes &&
           std::ranges::all_of(trimmed, [](char c) { return c == '-'; });
}

bool IsPageBreak(std::string_view line) {
    NotationLine read;
    ReadNotationLine(line, read);
    return read.pageBreak && IsBlank(PlainText(read));
}

// The level of the heading block the line opens (ここから中見出し), else 0.
unsigned OpensHeadingBlock(const NotationLine& line) {
    for (const Annotation& block : line.blocks)
        if (block.kind == AnnotationKind::BlockHeading) return block.level;
    return 0;
}

bool ClosesHeadingBlock(const NotationLine& line) {
    return std::ranges::any_of(line.blocks, [](const Annotation& block) {
        return block.kind == AnnotationKind::BlockHeadingEnd;
    });
}

HeadingKind KindOfLevel(unsigned level) {
    return level == 1 ? HeadingKind::Volume : level == 2 ? HeadingKind::Chapter : HeadingKind::None;
}

} // namespace

HeadingKind AnnotatedHeading(std::string_view line) {
    if (line.find(kAnnotationStart) == std::string_view::npos) return HeadingKind::None;
    NotationLine read;
    ReadNotationLine(line, read);
    const unsigned block = OpensHeadingBlock(read);
    return KindOfLevel(block != 0 ? block : read.heading);
}

std::size_t NotationHeadingEnd(std::string_view text) {
    const LineSpan first = LineAt(text, 0);
    NotationLine read;
    ReadNotationLine(first.In(text), read);
    if (OpensHeadingBlock(read) == 0) return first.next;
    // A block that does not close is its first line of text: a heading is never empty.
    std::size_t firstShown = first.next;
    std::size_t begin = first.next;
    for (std::size_t lines = 0; begin < text.size() && lines < kLongestHeadingBlock; ++lines) {
        const LineSpan span = LineAt(text, begin);
        ReadNotationLine(span.In(text), read);
        if (ClosesHeadingBlock(read)) return span.next;
        if (firstShown == first.next && !IsBlank(PlainText(read))) firstShown = span.next;
        if (span.end == text.size()) break;
        begin = span.next;
    }
    return firstShown;
}

std::string NotationHeadingText(std::string_view text) {
    const std::size_t end = NotationHeadingEnd(text);
    std::string heading;
    for (std::size_t begin = 0; begin < end;) {
        const LineSpan span = LineAt(text, begin, end);
        const std::string plain = PlainNotationText(span.In(text));
        if (const std::string_view trimmed = TrimSpace(plain); !trimmed.empty()) {
            if (!heading.empty()) heading += ' ';
            heading += trimmed;
        }
        begin = span.next;
    }
    return heading;
}

NotationLayout FindNotationLayout(std::string_view text) {
    NotationLayout layout;
    const bool annotated = FindIn(text, kAnnotationStart) != std::string_view::npos;
    if (!annotated && FindIn(text, kReadingStart) == std::string_view::npos) return layout;
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

UnknownAnnotations FindUnknownAnnotations(std::string_view text, const NotationLayout& layout) {
    UnknownAnnotations unknown;
    NotationLine read;
    for (std::size_t begin = 0; begin < text.size();) {
        const LineSpan span = LineAt(text, begin);
        const bool inLegend = span.begin >= layout.legendBegin && span.begin < layout.legendEnd;
        if (!inLegend && span.In(text).find(kAnnotationStart) != std::string_view::npos) {
            ReadNotationLine(span.In(text), read);
            unknown.count += read.unknown.size();
            for (const std::string_view annotation : read.unknown)
                if (unknown.examples.size() < kUnknownExamples &&
                    std::ranges::find(unknown.examples, annotation) == unknown.examples.end())
                    unknown.examples.emplace_back(annotation);
        }
        if (span.end == text.size()) break;
        begin = span.next;
    }
    return unknown;
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
