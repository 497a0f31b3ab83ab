// Finding heading lines: one pass over the lines, then the contents list at the top dropped.
#include "HeadingFinder.h"

#include "BuiltInHeadings.h"
#include "HeadingSequences.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <unordered_set>

namespace folivane::engine {
namespace {

constexpr std::size_t kLinesBetweenCheckPoints = 4096;

// Whether `real`, a heading further on, is the one the contents entry `entry` names: the same
// name, or the entry goes on after it with a space (a page number, dots that lead to one).
bool Names(const HeadingLine& entry, const HeadingLine& real) {
    return entry.name == real.name ||
           (entry.name.starts_with(real.name) && entry.name.size() > real.name.size() &&
            entry.name[real.name.size()] == ' ');
}

// The names of the headings from `first` on, for looking entries up: each name, and each part
// of it before a space, so that an entry with a page number after the name finds it too.
std::unordered_set<std::string_view> NamesFrom(const std::vector<HeadingLine>& headings,
                                               std::size_t first) {
    std::unordered_set<std::string_view> names;
    for (std::size_t i = first; i < headings.size(); ++i)
        names.insert(headings[i].name);
    return names;
}

bool NamedFurtherOn(const HeadingLine& entry, const std::unordered_set<std::string_view>& names) {
    for (std::size_t end = entry.name.size();; end = entry.name.rfind(' ', end - 1)) {
        if (names.contains(std::string_view(entry.name).substr(0, end))) return true;
        if (end == 0 || end == std::string::npos) return false;
    }
}

// Drops the contents list the leading run headings[0, runEnd) of bare headings begins with,
// if it is one: the headings up to the first that the run's first heading names again, when
// that one ends the run or lies within it (the list is followed by the text's first heading),
// else the whole run when the headings after it name at least half of its entries again. A
// list holds two entries at least. A volume just above the repeated first entry that the list
// does not name is the text's own first volume and stays.
// Returns how many headings it dropped from the front.
std::size_t DropContentsList(std::vector<HeadingLine>& headings, std::size_t runEnd) {
    if (runEnd < 2) return 0;
    std::size_t listEnd = 1;
    while (listEnd < headings.size() && !Names(headings.front(), headings[listEnd]))
        ++listEnd;
    if (listEnd == headings.size()) return 0; // the run's first heading is never named again
    if (listEnd > runEnd) {
        const std::unordered_set<std::string_view> further = NamesFrom(headings, runEnd);
        const auto named =
            std::count_if(headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(runEnd),
                          [&](const HeadingLine& entry) { return NamedFurtherOn(entry, further); });
        if (static_cast<std::size_t>(named) * 2 < runEnd) return 0;
        listEnd = runEnd;
    } else if (headings[listEnd - 1].kind == HeadingKind::Volume &&
               headings[listEnd].kind != HeadingKind::Volume &&
               std::none_of(
                   headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(listEnd - 1),
                   [&](const HeadingLine& entry) { return Names(entry, headings[listEnd - 1]); })) {
        --listEnd;
    }
    if (listEnd < 2) return 0;
    headings.erase(headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(listEnd));
    return listEnd;
}

// Headings known only by their order, gathered as the lines go by and judged once all are
// seen; `lines` are the ordinals among non-blank lines of the rules' headings.
struct OrderedCandidates {
    std::vector<HeadingLine> numbered;
    std::vector<NumberCandidate> numbers;
    std::vector<HeadingLine> parts;
    std::vector<PartCandidate> partRanks;
};

// Whether the chapter `heading` numbers its chapter, so that number lines within it are its
// sections or a list.
bool NumbersItsChapter(const HeadingLine& heading) {
    if (heading.kind != HeadingKind::Chapter || heading.name.empty()) return false;
    return IsNumberedBuiltIn(heading.name) || ParseNumberLine(heading.name).has_value();
}

// Adds to `headings` (with `lines`, their non-blank line ordinals) the parts that come in
// order, then the number lines that head chapters, keeping the text's order.
void AddOrderedHeadings(std::vector<HeadingLine>& headings, std::vector<std::size_t> lines,
                        OrderedCandidates& ordered, std::size_t textLines,
                        std::vector<TextNotice>* notices) {
    if (ordered.numbers.empty() && ordered.partRanks.empty()) return;
    std::vector<FoundHeading> found;
    for (std::size_t i = 0; i < headings.size(); ++i)
        found.push_back(
            {lines[i], headings[i].kind == HeadingKind::Volume, NumbersItsChapter(headings[i])});
    const std::size_t before = headings.size();
    for (const std::size_t part : JapanesePartIndexes(ordered.partRanks)) {
        headings.push_back(std::move(ordered.parts[part]));
        found.push_back({ordered.partRanks[part].line, true, false});
    }
    std::ranges::sort(found, {}, &FoundHeading::line);
    const std::size_t withParts = headings.size();
    NumberedHeadings numbered = FindNumberedHeadings(ordered.numbers, found, textLines);
    for (const std::size_t number : numbered.indexes) {
        headings.push_back(std::move(ordered.numbered[number]));
        headings.back().numbered = true;
    }
    if (notices) std::ranges::move(numbered.notices, std::back_inserter(*notices));
    const auto byOffset = [](const HeadingLine& a, const HeadingLine& b) {
        return a.begin < b.begin;
    };
    std::inplace_merge(headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(before),
                       headings.begin() + static_cast<std::ptrdiff_t>(withParts), byOffset);
    std::inplace_merge(headings.begin(), headings.begin() + static_cast<std::ptrdiff_t>(withParts),
                       headings.end(), byOffset);
}

} // namespace

std::vector<HeadingLine> FindHeadings(std::string_view text, const HeadingRules& rules,
                                      const std::function<void()>& checkPoint,
                                      const NotationLayout* notation,
                                      const std::function<void(std::size_t)>& searched,
                                      std::vector<TextNotice>* notices) {
    std::vector<HeadingLine> headings;
    std::vector<std::size_t> headingLines; // the non-blank line ordinal of each heading
    OrderedCandidates ordered;
    std::size_t nonBlank = 0;
    std::string plain; // a line of the notation without it
    // The leading run of bare headings lasts until a heading has text under it; only then are
    // blank lines told from others, so the rest of the text costs no more than the rules.
    bool runOpen = true;
    std::size_t runEnd = 0;
    std::size_t linesUnderLast = 0; // non-blank lines under the last heading, while in the run

    for (std::size_t begin = 0, line = 0;; ++line) {
        // A user's pattern may take long over a large text: the user can stop it meanwhile.
        if (line % kLinesBetweenCheckPoints == kLinesBetweenCheckPoints - 1) {
            if (checkPoint) checkPoint();
            if (searched) searched(begin);
        }
        const LineSpan span = LineAt(text, begin);
        std::string_view content = span.In(text);
        const std::size_t ordinal = nonBlank;
        if (!IsBlank(content)) ++nonBlank;
        if (notation) {
            if (span.begin >= notation->colophonBegin) break;
            if (span.begin >= notation->legendBegin && span.begin < notation->legendEnd) {
                if (span.end == text.size()) break;
                begin = span.next;
                continue;
            }
            // Headings are judged and named by what the line reads: "第一章　蜘蛛" for
            // "第一章　蜘蛛《くも》".
            if (content.find("［＃") != std::string_view::npos ||
                content.find("《") != std::string_view::npos) {
                plain = PlainNotationText(content);
                if (const HeadingKind annotated = AnnotatedHeading(content);
                    annotated != HeadingKind::None) {
                    // A block of heading lines is one heading, named by all of them.
                    const std::string_view rest = text.substr(span.begin);
                    const std::size_t next = span.begin + NotationHeadingEnd(rest);
                    std::size_t end = next == span.next ? span.end : next;
                    while (end > span.end && (text[end - 1] == '\n' || text[end - 1] == '\r'))
                        --end;
                    headings.push_back(
                        {span.begin, end, annotated, HeadingName(NotationHeadingText(rest))});
                    headingLines.push_back(ordinal);
                    // The block's other lines count among the text's lines all the same.
                    for (std::size_t at = span.next; at < next;) {
                        const LineSpan blockLine = LineAt(text, at);
                        if (!IsBlank(blockLine.In(text))) ++nonBlank;
                        if (blockLine.end == text.size()) break;
                        at = blockLine.next;
                    }
                    if (runOpen) linesUnderLast = 0;
                    if (next >= text.size() || span.end == text.size()) break;
                    begin = next;
                    continue;
                }
                content = plain;
            }
        }

        const HeadingKind kind = rules.Classify(content);
        if (kind == HeadingKind::None && rules.IsBuiltIn()) {
            const std::string_view trimmed = TrimSpace(content);
            const auto isShort = [&] {
                // A character takes at most 4 bytes: most lines are too long without counting.
                return (trimmed.size() + 3) / 4 <= rules.MaxLength() ||
                       CountCodePoints(trimmed) <= rules.MaxLength();
            };
            if (const auto number = ParseNumberLine(trimmed); number && isShort()) {
                ordered.numbers.push_back({span.begin, ordinal, *number});
                ordered.numbered.push_back(
                    {span.begin, span.end, HeadingKind::Chapter, HeadingName(trimmed)});
            } else if (const unsigned rank = JapanesePartRank(trimmed); rank != 0 && isShort()) {
                ordered.partRanks.push_back({span.begin, ordinal, rank});
                ordered.parts.push_back(
                    {span.begin, span.end, HeadingKind::Volume, HeadingName(trimmed)});
            }
        }
        if (kind != HeadingKind::None) {
            headings.push_back({span.begin, span.end, kind, HeadingName(content)});
            headingLines.push_back(ordinal);
            if (runOpen) linesUnderLast = 0;
        } else if (runOpen && !headings.empty()) {
            const std::string_view trimmed = TrimSpace(content);
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
    const std::size_t dropped = DropContentsList(headings, runEnd);
    headingLines.erase(headingLines.begin(),
                       headingLines.begin() + static_cast<std::ptrdiff_t>(dropped));
    AddOrderedHeadings(headings, std::move(headingLines), ordered, nonBlank, notices);
    return headings;
}

} // namespace folivane::engine
