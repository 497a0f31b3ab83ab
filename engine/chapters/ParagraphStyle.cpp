// Telling how a source's lines make paragraphs from the lengths, gaps and indents of its lines.
#include "ParagraphStyle.h"

#include "Paragraphs.h"

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
    std::vector<std::size_t> widths;
    std::vector<std::size_t> gaps;
    std::size_t indented = 0;
    std::size_t blankRun = 0;
    // Pairs of non-blank lines, the width of the first and the next one's text; and how many
    // of those next lines are indented.
    std::size_t indentedRunOns = 0;
    std::vector<std::pair<std::size_t, std::string_view>> runOns;
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
        if (IsBreakLine(line)) {
            previousText = false;
            continue;
        }
        const bool indent = IndentLength(line) != 0;
        if (indent) ++indented;
        if (previousText) {
            runOns.emplace_back(LineWidth(previous), line);
            if (indent) ++indentedRunOns;
        }
        widths.push_back(LineWidth(line));
        previous = line;
        previousText = true;
    }

    ParagraphShape shape;
    shape.wrapWidth = Percentile(widths, 90);
    shape.breakGap = std::max<std::size_t>(3, 2 * Percentile(gaps, 50) + 1);
    if (choice != ParagraphChoice::Auto) {
        shape.style = StyleOfChoice(choice);
        return shape;
    }
    const std::size_t lines = widths.size();
    if (lines < kFewestLines || shape.wrapWidth < kNarrowestWrap || shape.wrapWidth > kWidestWrap ||
        runOns.size() * 4 < lines)
        return shape;
    // A wrapped line goes on unindented: where most lines after another are indented, each
    // line is a paragraph of its own.
    if (indentedRunOns * 2 >= runOns.size()) return shape;
    const auto wrapped =
        static_cast<std::size_t>(std::count_if(runOns.begin(), runOns.end(), [&](const auto& pair) {
            return !EndedBeforeWrap(pair.first, pair.second, shape.wrapWidth);
        }));
    if (wrapped * 2 < runOns.size()) return shape;
    // Paragraphs parted by blank lines, else by indentation; wrapped text parted by neither
    // cannot show where its paragraphs end and keeps its lines.
    if (gaps.size() * 20 >= lines)
        shape.style = ParagraphStyle::Blocks;
    else if (indented * 20 >= lines)
        shape.style = ParagraphStyle::Indented;
    return shape;
}

} // namespace folivane::engine
