// Greedy line breaking with the few rules of CJK typesetting a title needs.
#include "CoverLines.h"

#include "engine/text/CodePoints.h"

#include <hb.h>

namespace folivane::engine {
namespace {

hb_unicode_general_category_t CategoryOf(char32_t c) {
    return hb_unicode_general_category(hb_unicode_funcs_get_default(), c);
}

// Commas, stops and marks of other punctuation (Po) that end a clause, and the marks of
// Japanese that lean on the character before them: none of these begins a line.
constexpr std::u32string_view kClosingMarks = U"!,.:;?、。，．：；！？・…‥｡､ー々ゝゞヽヾ〻";

bool IsBreakBetween(char32_t before, char32_t after) {
    if (IsCoverSpace(after) || ClosesText(after) || OpensText(before)) return false;
    return IsCoverSpace(before) || IsCjkCharacter(before) || IsCjkCharacter(after);
}

// Where a line that holds no break must be cut before `over`, the first character that does
// not fit: there, unless that starts the next line with a closing mark or ends this one with
// an opening mark and one character earlier avoids it.
std::size_t ForcedCut(std::u32string_view text, std::size_t begin, std::size_t over) {
    const bool badCut = ClosesText(text[over]) || OpensText(text[over - 1]);
    return badCut && over - 1 > begin ? over - 1 : over;
}

std::size_t TrimEnd(std::u32string_view text, std::size_t begin, std::size_t end) {
    while (end > begin && IsCoverSpace(text[end - 1]))
        --end;
    return end;
}

} // namespace

bool ClosesText(char32_t c) {
    const hb_unicode_general_category_t category = CategoryOf(c);
    return category == HB_UNICODE_GENERAL_CATEGORY_CLOSE_PUNCTUATION ||
           category == HB_UNICODE_GENERAL_CATEGORY_FINAL_PUNCTUATION ||
           kClosingMarks.find(c) != std::u32string_view::npos;
}

bool OpensText(char32_t c) {
    const hb_unicode_general_category_t category = CategoryOf(c);
    return category == HB_UNICODE_GENERAL_CATEGORY_OPEN_PUNCTUATION ||
           category == HB_UNICODE_GENERAL_CATEGORY_INITIAL_PUNCTUATION;
}

std::vector<CoverLine> BreakCoverLines(std::u32string_view text, std::span<const double> advance,
                                       double limit) {
    std::vector<CoverLine> lines;
    std::size_t begin = 0;
    while (true) {
        while (begin < text.size() && IsCoverSpace(text[begin]))
            ++begin;
        if (begin == text.size()) return lines;
        std::size_t lastBreak = 0; // none yet: a line never breaks at its own start
        std::size_t end = text.size();
        double width = 0;
        for (std::size_t i = begin; i < text.size(); ++i) {
            if (i > begin && IsBreakBetween(text[i - 1], text[i])) lastBreak = i;
            // A space may overhang: it is dropped if the line ends after it.
            if (i > begin && !IsCoverSpace(text[i]) && width + advance[i] > limit) {
                end = lastBreak > begin ? lastBreak : ForcedCut(text, begin, i);
                break;
            }
            width += advance[i];
        }
        lines.push_back({begin, TrimEnd(text, begin, end)});
        begin = end;
    }
}

} // namespace folivane::engine
