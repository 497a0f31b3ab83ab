// How the lines of a source make paragraphs, and how that is told from its text.
#pragma once

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// How a source's lines make paragraphs.
enum class ParagraphStyle {
    Lines,    // every non-blank line is a paragraph
    Blocks,   // lines between blank lines are one paragraph, joined
    Indented, // an indented line starts a paragraph; the lines after it are joined to it
};

// What the user asks for: one style for every source, or each source's own.
enum class ParagraphChoice { Auto, Lines, Blocks, Indented };

// Why Auto picked a source's style, the first test that decided it.
enum class ParagraphReason {
    Chosen,          // the user chose the style
    TooFewLines,     // too few lines to tell: each is a paragraph
    WidthOutOfRange, // lines end near no width an editor or archive wraps at
    FewRunOns,       // fewer than a quarter of the lines run on into the next
    IndentedRunOns,  // most lines after another are indented: each is a paragraph
    NotWrapped,      // most lines that run on were ended before the wrap width
    Wrapped,         // hard-wrapped: the style says how its paragraphs are parted
};

// The figures Auto judged a source by, from its sample.
struct ParagraphEvidence {
    std::size_t lines = 0;          // non-blank lines, scene breaks left out
    std::size_t runOns = 0;         // lines followed by another non-blank line
    std::size_t wrapped = 0;        // of those, lines ended where the next word would not fit
    std::size_t indentedRunOns = 0; // of those, lines followed by an indented line
    std::size_t indented = 0;       // indented lines
    std::size_t gaps = 0;           // runs of blank lines between lines
    std::size_t cjkRunOns = 0;      // run-on lines that end in a CJK character
    std::size_t fixedWidth = 0;     // run-on lines of the width most of them have
};

// What a source's paragraphs look like, decided once from a sample of its text.
struct ParagraphShape {
    ParagraphStyle style = ParagraphStyle::Lines;
    // The width, in characters, at which most lines end (the 90th percentile of line
    // lengths): a line that would have had room for the next line's first word was ended on
    // purpose, as verse is.
    std::size_t wrapWidth = 0;
    // A run of at least this many blank lines is a scene break: three where paragraphs are
    // parted by one blank line (the median run), twice the median and one more otherwise.
    std::size_t breakGap = 3;
    // CJK text wrapped at a fixed count of characters (three in four of its run-on lines have
    // one width, in characters or in columns where a CJK character takes two): a line end
    // between Latin letters or digits is the wrap's, within a word, not a space.
    bool fixedCjkWrap = false;
    ParagraphReason reason = ParagraphReason::Chosen;
    ParagraphEvidence evidence;
};

// The shape of `text` with the style the user chose, or, for Auto, the one its first lines
// show: hard-wrapped text (at least half of the lines that run on into the next one end
// where the next word would not have fitted, a quarter of all lines run on, fewer than half
// of those next lines are indented, and lines end near a width of 16 to 200 characters) is
// Blocks when blank lines part it (one gap for every twenty lines), else Indented when
// indented lines do (one in twenty), else Lines; any other text is Lines, as
// one-paragraph-per-line novels are. At least six lines are needed to judge.
ParagraphShape ParagraphShapeOf(std::string_view text, ParagraphChoice choice);

// The style Auto picks for `text`.
inline ParagraphStyle DetectParagraphStyle(std::string_view text) {
    return ParagraphShapeOf(text, ParagraphChoice::Auto).style;
}

} // namespace folivane::engine
