// Telling how a source's lines make paragraphs from the lengths, gaps and indents of its lines.
#include "ParagraphStyle.h"

#include "Paragraphs.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <vector>

namespace folivane::engine {
namespace {

// The sample: enough lines to see a text's habit, few enough to cost nothing on a large one.
constexpr std::size_t kSampleLines = 4000;
constexpr std::size_t kSampleBytes = std::size_t{1} << 20;
// Fewer non-blank lines than this tell nothing: they stay one paragraph each.
constexpr std::size_t kFewestLines = 6;
// Narrower than this is a list or verse; wider, not the wrapping of any editor or archive.
constexpr std::size_t kNarrowestWrap = 16;
constexpr std::size_t kWidestWrap = 200;

// The value below which `percent` of `values` lie; 0 for none.
std::size_t Percentile(std::vector<std::size_t> values, std::size_t percent) {
    if (values.empty()) return 0;
    const std::size_t at = std::min(values.size() - 1, values.size() * percent / 100);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at),
                     values.end());
    return values[at];
}

// How many of `values` have the most common value, or one less than it when `below` is 1.
std::size_t ModeCount(std::vector<std::size_t> values, std::size_t below) {
    std::ranges::sort(values);
    std::size_t best = 0;
    for (auto at = values.begin(); at != values.end();) {
        const auto end = std::ranges::upper_bound(values, *at);
        const auto from = std::ranges::lower_bound(values, *at >= below ? *at - below : *at);
        best = std::max(best, static_cast<std::size_t>(end - from));
        at = end;
    }
    return best;
}

// The width of `line` in columns, a CJK character taking two, as fixed-width editors wrap.
std::size_t ColumnWidth(std::string_view line) {
    std::size_t columns = 0;
    for (std::string_view rest = TrimSpace(line); !rest.empty();) {
        // E3 to E9 begin U+3000 to U+9FFF, all of them CJK: most of a CJK line, counted
        // without decoding.
        const auto lead = static_cast<unsigned char>(rest[0]);
        if (lead >= 0xE3 && lead <= 0xE9 && rest.size() >= 3 &&
            (static_cast<unsigned char>(rest[1]) & 0xC0) == 0x80 &&
            (static_cast<unsigned char>(rest[2]) & 0xC0) == 0x80) {
            columns += 2;
            rest.remove_prefix(3);
            continue;
        }
        columns += IsCjkCharacter(TakeCodePoint(rest)) ? 2u : 1u;
    }
    return columns;
}

ParagraphStyle StyleOfChoice(ParagraphChoice choice) {
    switch (choice) {
    case ParagraphChoice::Blocks:
        return ParagraphStyle::Blocks;
    case ParagraphChoice::Indented:
        return ParagraphStyle::Indented;
    default:
        return ParagraphStyle::Lines;
    }
}

} // namespace

ParagraphShape ParagraphShapeOf(std::string_view text, ParagraphChoice choice) {
    const std::string_view sample = text.substr(0, kSampleBytes);
    ParagraphShape shape;
    ParagraphEvidence& seen = shape.evidence;
    std::vector<std::size_t> widths;
    std::vector<std::size_t> gaps;
    std::size_t blankRun = 0;
    // Pairs of non-blank lines, the width of the first and the next one's text; and the
    // widths, in characters and in columns, of run-on lines that end in CJK text.
    std::vector<std::pair<std::size_t, std::string_view>> runOns;
    std::vector<std::size_t> cjkWidths;
    std::vector<std::size_t> cjkColumns;
    std::string_view previous;
    bool previousText = false;
    for (const LineSpan& span : TextLines(sample)) {
        if (widths.size() >= kSampleLines) break;
        const std::string_view line = span.In(sample);
        if (IsBlank(line)) {
            ++blankRun;
            previousText = false;
            continue;
        }
        if (blankRun > 0 && !widths.empty()) gaps.push_back(blankRun);
        blankRun = 0;
        // Quoted lines keep their lines whatever the style, and their marks would read as
        // short first words: they tell nothing of the text's own wrapping.
        if (IsBreakLine(line) || IsQuoteLine(line)) {
            previousText = false;
            continue;
        }
        const bool indent = IndentLength(line) != 0;
        if (indent) ++seen.indented;
        if (previousText) {
            runOns.emplace_back(LineWidth(previous), line);
            if (indent) ++seen.indentedRunOns;
            if (IsCjkCharacter(LastCodePoint(TrimSpace(previous)))) {
                cjkWidths.push_back(runOns.back().first);
                cjkColumns.push_back(ColumnWidth(previous));
            }
        }
        widths.push_back(LineWidth(line));
        previous = line;
        previousText = true;
    }

    shape.wrapWidth = Percentile(widths, 90);
    shape.breakGap = std::max<std::size_t>(3, 2 * Percentile(gaps, 50) + 1);
    seen.lines = widths.size();
    seen.runOns = runOns.size();
    seen.gaps = gaps.size();
    seen.cjkRunOns = cjkWidths.size();
    // A wrap by a count of characters leaves its run-on lines one width; a wrap by columns
    // one width, or one less where a wide character did not fit.
    seen.fixedWidth = std::max(ModeCount(cjkWidths, 0), ModeCount(cjkColumns, 1));
    shape.fixedCjkWrap = seen.cjkRunOns * 2 >= seen.runOns && seen.runOns >= kFewestLines &&
                         seen.fixedWidth * 4 >= seen.cjkRunOns * 3;
    seen.wrapped =
        static_cast<std::size_t>(std::count_if(runOns.begin(), runOns.end(), [&](const auto& pair) {
            return !EndedBeforeWrap(pair.first, pair.second, shape.wrapWidth);
        }));
    if (choice != ParagraphChoice::Auto) {
        shape.style = StyleOfChoice(choice);
        return shape;
    }
    const std::size_t lines = seen.lines;
    if (lines < kFewestLines) {
        shape.reason = ParagraphReason::TooFewLines;
    } else if (shape.wrapWidth < kNarrowestWrap || shape.wrapWidth > kWidestWrap) {
        shape.reason = ParagraphReason::WidthOutOfRange;
    } else if (seen.runOns * 4 < lines) {
        shape.reason = ParagraphReason::FewRunOns;
    } else if (seen.indentedRunOns * 2 >= seen.runOns) {
        // A wrapped line goes on unindented: where most lines after another are indented,
        // each line is a paragraph of its own.
        shape.reason = ParagraphReason::IndentedRunOns;
    } else if (seen.wrapped * 2 < seen.runOns) {
        shape.reason = ParagraphReason::NotWrapped;
    } else {
        shape.reason = ParagraphReason::Wrapped;
        // Paragraphs parted by blank lines, else by indentation; wrapped text parted by
        // neither cannot show where its paragraphs end and keeps its lines.
        if (seen.gaps * 20 >= lines)
            shape.style = ParagraphStyle::Blocks;
        else if (seen.indented * 20 >= lines)
            shape.style = ParagraphStyle::Indented;
    }
    return shape;
}

} // namespace folivane::engine
