// The chapters of one source: by its headings, around an archive's header and end, and as
// the notation cuts them.
#include "ChapterSpans.h"

#include "engine/text/Language.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>

namespace folivane::engine {
namespace {

// The name of the colophon's page in the contents.
constexpr std::string_view kColophonName = "底本";
// Only Japanese text uses the notation; 《》 marks a title in Chinese.
constexpr std::size_t kNotationLanguageSample = 64 << 10;

// The chapters of text[body) by its headings: what stands before the first one, when it is
// not blank, under the source's own name, then one per heading.
std::vector<ChapterSpan> ChaptersByHeadings(std::string_view text, PageRange body,
                                            const std::vector<HeadingLine>& headings,
                                            const std::string& sourceName) {
    std::vector<ChapterSpan> spans;
    if (!IsBlank(text.substr(body.first, headings.front().begin - body.first)))
        spans.push_back({.range = {body.first, headings.front().begin},
                         .name = sourceName,
                         .role = PageRole::Opening});
    for (std::size_t k = 0; k < headings.size(); ++k) {
        const std::size_t end = k + 1 < headings.size() ? headings[k + 1].begin : body.second;
        spans.push_back({.range = {headings[k].begin, end},
                         .name = headings[k].name,
                         .heading = headings[k].kind,
                         .byNumber = headings[k].numbered});
    }
    return spans;
}

// The places the notation cuts a text: the legend's ends, its page breaks, the colophon.
std::vector<std::size_t> NotationCuts(const NotationLayout& layout) {
    std::vector<std::size_t> cuts;
    for (const std::size_t pageBreak : layout.pageBreaks)
        if (pageBreak < layout.colophonBegin) cuts.push_back(pageBreak);
    if (layout.legendBegin != NotationLayout::npos) {
        cuts.push_back(layout.legendBegin);
        cuts.push_back(layout.legendEnd);
    }
    if (layout.colophonBegin != NotationLayout::npos) cuts.push_back(layout.colophonBegin);
    std::ranges::sort(cuts);
    return cuts;
}

// The spans cut where the notation says: the legend left out, a page after each page break,
// the colophon a page of its own to the end. A piece that shows nothing (annotations, blank
// lines) after a break stays with the page before; one after the legend goes. The first piece
// shown of a span keeps its name, heading and role; the others are pages not listed of their
// own.
std::vector<ChapterSpan> CutByNotation(std::string_view text, std::vector<ChapterSpan> spans,
                                       const NotationLayout& layout) {
    const std::vector<std::size_t> cuts = NotationCuts(layout);
    std::vector<ChapterSpan> result;
    for (const ChapterSpan& span : spans) {
        bool first = true;
        for (auto cut = std::ranges::upper_bound(cuts, span.range.first);;) {
            const std::size_t begin = cut == cuts.begin() || *(cut - 1) < span.range.first
                                          ? span.range.first
                                          : *(cut - 1);
            const std::size_t end =
                cut != cuts.end() && *cut < span.range.second ? *cut : span.range.second;
            const bool blank = IsNotationBlank(text.substr(begin, end - begin));
            if (begin >= layout.colophonBegin) {
                result.push_back({.range = {begin, span.range.second},
                                  .name = std::string(kColophonName),
                                  .topLevel = true,
                                  .role = PageRole::Colophon});
                break;
            }
            if (begin == layout.legendBegin || (begin == layout.legendEnd && blank)) {
                // Left out.
            } else if (first) {
                ChapterSpan piece = span;
                piece.range = {begin, end};
                result.push_back(std::move(piece));
                first = false;
            } else if (blank && result.back().range.second == begin) {
                result.back().range.second = end;
            } else {
                result.push_back({.range = {begin, end}, .name = span.name, .listed = false});
            }
            if (end == span.range.second) break;
            ++cut;
        }
    }
    return result;
}

std::vector<ChapterSpan> NotationSpans(const SourceLayout& source, bool& inVolume) {
    const std::string_view text = source.text;
    const bool headings = !source.headings.empty();
    // Without headings a large source's pages are each listed, numbered on across its page
    // breaks, as without the notation.
    const bool listEveryPage = !headings && source.large;
    std::vector<ChapterSpan> spans =
        headings ? ChaptersByHeadings(text, {0, text.size()}, source.headings, source.name)
                 : std::vector<ChapterSpan>{
                       {.range = {0, text.size()},
                        .name = source.name,
                        .role = listEveryPage ? PageRole::Text : PageRole::WholeSource}};
    spans = CutByNotation(text, std::move(spans), *source.notation);
    for (ChapterSpan& span : spans) {
        if (span.heading == HeadingKind::Volume) inVolume = true;
        if (span.topLevel) inVolume = false;
        span.level = span.heading != HeadingKind::Volume && inVolume ? 1 : 0;
        span.numbered = listEveryPage && !span.topLevel;
        span.listed = span.listed || span.numbered;
        span.cut = span.range.second - span.range.first > kSizeLimit || span.numbered;
    }
    return spans;
}

// The body's chapters by its headings, each at its level; as the book was before chapters
// were found (the body, or its pieces) when it has none.
void BodySpans(const SourceLayout& source, PageRange body, bool whole, bool& inVolume,
               std::vector<ChapterSpan>& spans) {
    const std::string_view text = source.text;
    if (source.headings.empty()) {
        const bool cut = whole ? source.large : body.second - body.first > kSizeLimit;
        if (whole || !IsBlank(text.substr(body.first, body.second - body.first)))
            spans.push_back({.range = body,
                             .name = source.name,
                             .role = cut ? PageRole::Text : PageRole::WholeSource,
                             .level = inVolume ? 1 : 0,
                             .cut = cut,
                             .numbered = cut});
        return;
    }
    for (ChapterSpan& span : ChaptersByHeadings(text, body, source.headings, source.name)) {
        if (span.heading == HeadingKind::Volume) inVolume = true;
        span.level = span.heading != HeadingKind::Volume && inVolume ? 1 : 0;
        span.cut = span.range.second - span.range.first > kSizeLimit;
        spans.push_back(std::move(span));
    }
}

// An archive's header and licence are pages of their own, and hold no chapters.
std::vector<ChapterSpan> PlainSpans(SourceLayout source, bool& inVolume) {
    const std::string_view text = source.text;
    const TextSections& sections = source.sections;
    const PageRange body{sections.bodyBegin, sections.bodyEnd};
    std::erase_if(source.headings, [&](const HeadingLine& heading) {
        return heading.begin < body.first || heading.begin >= body.second;
    });
    std::vector<ChapterSpan> spans;
    if (body.first > 0)
        spans.push_back({.range = {0, body.first},
                         .name = sections.headerName.empty() ? source.name : sections.headerName,
                         .role = PageRole::Header,
                         .level = inVolume ? 1 : 0,
                         .cut = body.first > kSizeLimit});
    BodySpans(source, body, body.first == 0 && body.second == text.size(), inVolume, spans);
    if (body.second < text.size())
        spans.push_back({.range = {body.second, text.size()},
                         .name = sections.endName.empty() ? source.name : sections.endName,
                         .role = PageRole::End,
                         .level = inVolume ? 1 : 0,
                         .cut = text.size() - body.second > kSizeLimit});
    return spans;
}

} // namespace

NotationLayout NotationOf(std::string_view text) {
    NotationLayout layout = FindNotationLayout(text);
    if (layout.used &&
        !DetectLanguage(text.substr(0, kNotationLanguageSample), "").starts_with("ja"))
        layout = {};
    return layout;
}

std::vector<ChapterSpan> FindChapterSpans(const SourceLayout& source, bool& inVolume) {
    if (source.notation) return NotationSpans(source, inVolume);
    return PlainSpans(source, inVolume);
}

} // namespace folivane::engine
