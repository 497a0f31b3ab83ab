// Building paragraphs from lines: joined, kept as verse, or breaks between scenes.
#include "Paragraphs.h"

#include "engine/text/CodePoints.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <array>

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

// Whether `line` begins with a capital letter, after any opening quotes or brackets.
bool BeginsWithCapital(std::string_view line) {
    for (std::string_view rest = TrimSpace(line); !rest.empty();) {
        const char32_t c = TakeCodePoint(rest);
        if (c == U'"' || c == U'\'' || c == U'(' || c == U'[' || c == U'\u2018' || c == U'\u201C')
            continue;
        // Latin letters, with the accented capitals of Latin-1 and Latin Extended-A.
        return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
               (c >= 0x100 && c <= 0x17F && c % 2 == 0);
    }
    return false;
}

// Whether `line` ends a sentence, before any closing quotes or brackets.
bool EndsSentence(std::string_view line) {
    for (std::string_view rest = TrimSpace(line); !rest.empty();) {
        const char32_t c = LastCodePoint(rest);
        rest.remove_suffix(rest.size() - LastCodePointStart(rest));
        switch (c) {
        case U'"':
        case U'\'':
        case U')':
        case U']':
        case U'\u2019': // ’
        case U'\u201D': // ”
            continue;
        case U'.':
        case U'!':
        case U'?':
        case U'\u2026': // …
        case U'\u3002': // 。
        case U'\uFF01': // ！
        case U'\uFF1F': // ？
            return true;
        default:
            return false;
        }
    }
    return false;
}

// A listing's indentation: a tab, or four spaces.
bool HasCodeIndent(std::string_view line) {
    return line.starts_with('\t') || line.starts_with("    ");
}

// Marks that code has and prose hardly ever. One pass with a table: find_first_of would
// search the set of marks once for every byte of the line.
bool HasCodeMarks(std::string_view line) {
    static constexpr std::array<bool, 256> kMarks = [] {
        std::array<bool, 256> marks{};
        for (const char c : std::string_view("{}=<>[]\\|_#$"))
            marks[static_cast<unsigned char>(c)] = true;
        return marks;
    }();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (kMarks[static_cast<unsigned char>(line[i])]) return true;
        if (line[i] == '(' && i + 1 < line.size() && line[i + 1] == ')') return true;
    }
    return false;
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
        const bool quote = IsQuoteLine(content);
        if (open_ && quote != quote_) Close();
        const bool starts =
            !quote && (shape_.style == ParagraphStyle::Lines ||
                       (shape_.style == ParagraphStyle::Indented && IndentLength(content)));
        if (open_ && starts) Close();
        if (!open_) {
            open_ = true;
            quote_ = quote;
            begin_ = line.begin;
            lines_ = 0;
            wrapped_ = false;
            capitals_ = true;
            sentenceEnds_ = 0;
            codeIndent_ = true;
            codeMarks_ = false;
        } else {
            const std::string_view last = text_.substr(last_.begin, last_.end - last_.begin);
            if (!wrapped_) wrapped_ = !EndedBeforeWrap(LineWidth(last), content, shape_.wrapWidth);
            if (capitals_) capitals_ = BeginsWithCapital(content);
            if (EndsSentence(last)) ++sentenceEnds_;
        }
        codeIndent_ = codeIndent_ && HasCodeIndent(content);
        // The marks count only for a block indented as a listing throughout.
        codeMarks_ = codeMarks_ || (codeIndent_ && HasCodeMarks(content));
        last_ = line;
        ++lines_;
    }

    void Close() {
        if (!open_) return;
        open_ = false;
        out_.push_back({Kind(), begin_, last_.end});
    }

private:
    ParagraphKind Kind() const {
        if (quote_) return ParagraphKind::Quote;
        if (lines_ < 2) return ParagraphKind::Text;
        if (shape_.style == ParagraphStyle::Blocks && codeIndent_ && codeMarks_)
            return ParagraphKind::Code;
        // A block none of whose lines was wrapped keeps its lines: verse, an address, a list;
        // so does a stanza, whose lines begin with capitals and mostly end mid-sentence.
        if (!wrapped_) return ParagraphKind::Verse;
        const bool lastEnds = EndsSentence(text_.substr(last_.begin, last_.end - last_.begin));
        const bool stanza = capitals_ && (lines_ == 2 ? sentenceEnds_ == 0 && !lastEnds
                                                      : sentenceEnds_ * 2 <= lines_ - 1);
        return stanza ? ParagraphKind::Verse : ParagraphKind::Text;
    }

    std::string_view text_;
    const ParagraphShape& shape_;
    std::vector<Paragraph>& out_;
    bool open_ = false;
    bool quote_ = false;
    std::size_t begin_ = 0;
    std::size_t lines_ = 0;
    bool wrapped_ = false;
    bool capitals_ = true;         // every line after the first begins with a capital
    std::size_t sentenceEnds_ = 0; // lines before the last that end a sentence
    bool codeIndent_ = true;       // every line is indented as a listing is
    bool codeMarks_ = false;       // some line holds a mark of code
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

bool IsQuoteLine(std::string_view line) {
    const std::size_t spaces = line.find_first_not_of(' ');
    return spaces != std::string_view::npos && spaces <= 3 && line[spaces] == '>';
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
