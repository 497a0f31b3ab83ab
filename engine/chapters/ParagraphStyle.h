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
};

// The shape of `text` with the style the user chose, or, for Auto, the one its first lines
// show: hard-wrapped text (at least half of the lines that run on into the next one end
// where the next word would not have fitted, a quarter of all lines run on, fewer than half
// of those next lines are indented, and lines end near a width of 16 to 200 characters) is
// Blocks when blank lines part it, else Indented
// when indented lines do, else Lines; any other text is Lines, as one-paragraph-per-line
// novels are.
ParagraphShape ParagraphShapeOf(std::string_view text, ParagraphChoice choice);

// The style Auto picks for `text`.
inline ParagraphStyle DetectParagraphStyle(std::string_view text) {
    return ParagraphShapeOf(text, ParagraphChoice::Auto).style;
}

} // namespace folivane::engine
