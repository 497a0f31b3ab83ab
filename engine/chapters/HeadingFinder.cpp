// Finding heading lines: one pass over the lines, then the contents list at the top dropped.
#include "HeadingFinder.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <cstddef>

namespace folivane::engine {
namespace {

// Drops the contents list the leading run headings[0, runEnd) forms, if it is one.
// `linesUnderRunEnd`: the non-blank lines between the run's last heading and the next one.
void DropContentsList(std::vector<HeadingLine>& headings, std::size_t runEnd,
                      std::size_t linesUnderRunEnd) {
    std::size_t listEnd = runEnd;
    const HeadingLine* firstReal = runEnd < headings.size() ? &headings[runEnd] : nullptr;
    if (firstReal && runEnd > 0 && firstReal->kind == HeadingKind::Chapter &&
        headings[runEnd - 1].kind == HeadingKind::Volume && linesUnderRunEnd == 0) {
        --listEnd;
        firstReal = &headings[listEnd];
    }
    const bool isList =
        listEnd >= 3 || (listEnd == 2 && firstReal && firstReal->name == headings.front().name);
    if (isList)
        headings.erase(headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(listEnd));
}

} // namespace

std::vector<HeadingLine> FindHeadings(std::string_view text, const HeadingRules& rules) {
    std::vector<HeadingLine> headings;
    // The leading run of bare headings lasts until a heading has text under it; only then are
    // blank lines told from others, so the rest of the text costs no more than the rules.
    bool runOpen = true;
    std::size_t runEnd = 0;
    std::size_t linesUnderLast = 0;     // non-blank lines under the last heading, while in the run
    std::size_t linesUnderPrevious = 0; // and under the one before it

    for (std::size_t begin = 0;;) {
        const LineSpan span = LineAt(text, begin);
        const std::string_view line = span.In(text);

        const HeadingKind kind = rules.Classify(line);
        if (kind != HeadingKind::None) {
            headings.push_back({span.begin, span.end, kind, HeadingName(line)});
            if (runOpen) {
                linesUnderPrevious = linesUnderLast;
                linesUnderLast = 0;
            }
        } else if (runOpen && !headings.empty()) {
            const std::string_view trimmed = TrimSpace(line);
            if (!trimmed.empty() &&
                (++linesUnderLast > 1 || CountCodePoints(trimmed) > rules.MaxLength())) {
                runOpen = false;
                runEnd = headings.size() - 1;
            }
        }

        if (span.end == text.size()) break;
        begin = span.next;
    }

    if (runOpen) runEnd = headings.size();
    DropContentsList(headings, runEnd, linesUnderPrevious);
    return headings;
}

} // namespace folivane::engine
