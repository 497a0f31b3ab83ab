// Building paragraphs from lines: joined, kept as verse, or breaks between scenes.
#include "Paragraphs.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

constexpr bool IsBreakMark(char32_t c) {
    switch (c) {
    case U'*':
    case U'\uFF0A': // ＊
    case U'\u203B': // ※
    case U'#':
    case U'-':
    case U'\u2014': // —
    case U'=':
    case U'~':
    case U'\u00B7': // ·
    case U'\u2022': // •
    case U'\u25C7': // ◇
    case U'\u25C6': // ◆
    case U'\u25CB': // ○
    case U'\u25CF': // ●
        return true;
    default:
        return false;
    }
}

// Gathers the lines of one paragraph until something ends it.
class ParagraphBuilder {
public:
    ParagraphBuilder(std::string_view text, const ParagraphShape& shape,
                     std::vector<Paragraph>& out)
        : text_(text), shape_(shape), out_(out) {}

    void Line(const LineSpan& line) {
        const std::string_view content = line.In(text_);
        if (IsBlank(content)) {
            Close();
            ++blankRun_;
            return;
        }
        if (blankRun_ >= shape_.breakGap && !out_.empty())
            out_.push_back({ParagraphKind::BreakGap, line.begin, line.begin});
        blankRun_ = 0;
        if (IsBreakLine(content)) {
            Close();
            out_.push_back({ParagraphKind::BreakMarks, line.begin, line.end});
            return;
        }
        const bool starts = shape_.style == ParagraphStyle::Lines ||
                            (shape_.style == ParagraphStyle::Indented && IndentLength(content));
        if (open_ && starts) Close();
        if (!open_) {
            open_ = true;
            begin_ = line.begin;
            lines_ = 0;
            wrapped_ = false;
        } else if (!wrapped_) {
            wrapped_ =
                !EndedBeforeWrap(LineWidth(text_.substr(last_.begin, last_.end - last_.begin)),
                                 content, shape_.wrapWidth);
        }
        last_ = line;
        ++lines_;
    }

    void Close() {
        if (!open_) return;
        open_ = false;
        // A block none of whose lines was wrapped keeps its lines: verse, an address, a list.
        const ParagraphKind kind =
            lines_ > 1 && !wrapped_ ? ParagraphKind::Verse : ParagraphKind::Text;
        out_.push_back({kind, begin_, last_.end});
    }

private:
    std::string_view text_;
    const ParagraphShape& shape_;
    std::vector<Paragraph>& out_;
    bool open_ = false;
    std::size_t begin_ = 0;
    std::size_t lines_ = 0;
    bool wrapped_ = false;
    LineSpan last_;
    std::size_t blankRun_ = 0;
};

} // namespace

bool IsBreakLine(std::string_view line) {
    std::size_t marks = 0;
    for (std::string_view rest = TrimSpace(line); !rest.empty();) {
        const char32_t c = TakeCodePoint(rest);
        if (IsBreakMark(c))
            ++marks;
        else if (!IsTextSpace(c))
            return false;
    }
    return marks >= 3;
}

std::size_t LineWidth(std::string_view line) {
    return CountCodePoints(TrimSpace(line));
}

bool EndedBeforeWrap(std::size_t width, std::string_view next, std::size_t wrapWidth) {
    std::size_t word = 0;
    for (std::string_view rest = TrimSpace(next); !rest.empty();) {
        const char32_t c = TakeCodePoint(rest);
        if (IsTextSpace(c)) break;
        ++word;
        if (IsCjkCharacter(c)) break;
    }
    return width + 1 + word <= wrapWidth;
}

std::vector<Paragraph> BuildParagraphs(std::string_view text, const ParagraphShape& shape) {
    std::vector<Paragraph> paragraphs;
    ParagraphBuilder builder(text, shape, paragraphs);
    for (const LineSpan& line : TextLines(text))
        builder.Line(line);
    builder.Close();
    return paragraphs;
}

bool StartsParagraph(std::string_view text, std::size_t previousLine, std::size_t at,
                     ParagraphStyle style) {
    if (style == ParagraphStyle::Lines || at <= previousLine) return true;
    if (IsBlank(LineAt(text, previousLine).In(text))) return true;
    const std::string_view line = LineAt(text, at).In(text);
    return style == ParagraphStyle::Indented && !IsBlank(line) && IndentLength(line) != 0;
}

} // namespace folivane::engine
