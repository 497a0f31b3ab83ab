// Pages of a source, their text held or kept in pieces.
#include "SourcePages.h"

#include "engine/text/TextLines.h"

namespace folivane::engine {
namespace {

// Pieces carry a byte-order mark so that they are read back as UTF-8, never as a
// legacy code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The page's lines, each followed by CR LF, after a UTF-8 mark: the content of a piece file.
std::string PieceOf(std::string_view text, PageRange page) {
    std::string piece(kUtf8Mark);
    piece.reserve(kUtf8Mark.size() + page.second - page.first + (page.second - page.first) / 16);
    for (std::size_t at = page.first; at < page.second;) {
        const LineSpan line = LineAt(text, at, page.second);
        piece.append(line.In(text));
        piece.append("\r\n");
        at = line.next;
    }
    return piece;
}

} // namespace

void SourcePages::AddChapter(std::string_view text, const ChapterSpan& span,
                             TChapterList& chapters) {
    const std::vector<PageRange> pages = span.cut
                                             ? CutPages(text, span.range, facts_.paragraphs.style)
                                             : std::vector<PageRange>{span.range};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        FileList page;
        page.Name = span.numbered ? PieceName(span.name, ++numbered_) : span.name;
        page.Heading = i == 0 ? span.heading : HeadingKind::None;
        page.Level = span.level;
        page.Listed = span.listed && (span.numbered || i == 0);
        page.Paragraphs = facts_.paragraphs;
        page.Role = i == 0 ? span.role : PageRole::Text;
        page.Notation = facts_.notation;
        page.Source = facts_.index;
        page.Numbered = i == 0 && span.byNumber;
        page.Begin = pages[i].first;
        page.End = pages[i].second;
        page.Path = facts_.path;
        if (facts_.text)
            page.Text = facts_.text;
        else
            page.Path = pieces_->Keep(facts_.index, ++kept_, PieceOf(text, pages[i]), facts_.path);
        chapters.push_back(std::move(page));
        if (facts_.pageMade) facts_.pageMade(pages[i].second);
    }
}

} // namespace folivane::engine
