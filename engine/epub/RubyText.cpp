// Ruby markup for the notation's readings, escaped through the book's one XML escaper.
#include "RubyText.h"

#include "XmlText.h"

#include "engine/chapters/Notation.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <vector>

namespace folivane::engine {
namespace {

// AppendRubyText with the buffer of pieces given, so that a page's lines share one.
bool AppendLine(std::string& out, std::string_view line, EpubVersion version, bool trimEnd,
                std::vector<NotationPiece>& pieces) {
    const bool annotated = SplitNotation(line, pieces);
    // White space at the line's ends, once annotations are gone, is indentation.
    std::size_t first = 0;
    while (first < pieces.size() && pieces[first].reading.empty()) {
        while (const std::size_t space = LeadingSpaceLength(pieces[first].text))
            pieces[first].text.remove_prefix(space);
        if (!pieces[first].text.empty()) break;
        ++first;
    }
    std::size_t last = pieces.size();
    while (trimEnd && last > first && pieces[last - 1].reading.empty()) {
        while (const std::size_t space = TrailingSpaceLength(pieces[last - 1].text))
            pieces[last - 1].text.remove_suffix(space);
        if (!pieces[last - 1].text.empty()) break;
        --last;
    }
    for (std::size_t i = first; i < last; ++i) {
        const NotationPiece& piece = pieces[i];
        if (piece.reading.empty()) {
            AppendEscapedXmlText(out, piece.text);
        } else if (version == EpubVersion::Epub3) {
            out += "<ruby>";
            AppendEscapedXmlText(out, piece.text);
            out += "<rt>";
            AppendEscapedXmlText(out, piece.reading);
            out += "</rt></ruby>";
        } else {
            AppendEscapedXmlText(out, piece.text);
            out += "（";
            AppendEscapedXmlText(out, piece.reading);
            out += "）";
        }
    }
    return first < last || !annotated;
}

} // namespace

bool AppendRubyText(std::string& out, std::string_view line, EpubVersion version, bool trimEnd) {
    std::vector<NotationPiece> pieces;
    return AppendLine(out, line, version, trimEnd, pieces);
}

void AppendRubyParagraphs(std::string& out, std::string_view text, EpubVersion version) {
    std::vector<NotationPiece> pieces;
    bool any = false;
    for (std::size_t begin = 0; begin < text.size();) {
        const LineSpan span = LineAt(text, begin);
        const std::size_t mark = out.size();
        out += "<p>";
        // Blank lines are spacing, as in every other text: they make no paragraph.
        if (!IsBlank(span.In(text)) && AppendLine(out, span.In(text), version, false, pieces)) {
            out += "</p>";
            any = true;
        } else {
            out.resize(mark);
        }
        if (span.end == text.size()) break;
        begin = span.next;
    }
    if (!any) out += "<p></p>";
}

} // namespace folivane::engine
