// One line of the notation of Japanese archive texts read into what it shows: runs of text,
// ruby, marks, and what its annotations say of the line as a whole.
#pragma once

#include "Annotation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

enum class RunKind : std::uint8_t {
    Text,       // text as it stands (a character note's character among it)
    Note,       // a character without a code: 〔its description〕, shown small
    Kaeriten,   // a kanbun order mark, shown small below the line
    Okurigana,  // a kanbun reading aid, shown small above it
    Bar,        // a ｜ that began no ruby base: shown as it stands
    RubyBegin,  // a ruby base follows, up to RubyEnd
    RubyEnd,    // `text` is the reading of the base since RubyBegin
    StyleBegin, // `style` from here ...
    StyleEnd,   // ... to here, or to the end of a range that spans lines
    AlignEnd,   // the rest of the line stands at its end, `amount` characters short of it
};

struct NotationRun {
    RunKind kind = RunKind::Text;
    TextStyle style = TextStyle::Sesame;
    bool left = false; // StyleBegin: on the left of vertical lines
    unsigned amount = 0;
    std::string text = {};
};

struct NotationLine {
    // What the line shows, in order. Style and ruby marks nest: no style mark stands within
    // a ruby base, and a style that a later annotation names closes after the runs it took.
    std::vector<NotationRun> runs;
    unsigned heading = 0;             // 1-3: a heading of that level (大, 中, 小見出し)
    bool pageBreak = false;           // 改ページ and its kind
    std::optional<unsigned> indent;   // N字下げ: the line begins N characters in
    std::optional<unsigned> alignEnd; // 地付き (0), 地からN字上げ (N) before anything shown
    std::vector<Annotation> blocks;   // starts and ends of blocks of lines, in order
    std::vector<std::string_view> unknown; // annotations not understood, as they stand
    bool annotated = false;                // the line held an annotation
};

// Reads `line` (UTF-8, one line) into `out`, whose old content goes.
// - A reading 《…》 of kana directly after its base: the characters after the last ｜ (what
//   they are), or else the run of one kind (kanji, katakana, hiragana, Latin letters and
//   digits) before 《; a character note counts as the kind of its character, one without a
//   code as a kanji. A reading with no base left is text in （）. A 《…》 of anything else
//   after no ｜ stays text (《史記》); a ｜ that no reading follows stays too.
// - An annotation ［＃…］ (nested ones within it) is left out of the text; it adds its marks
//   (ClassifyAnnotation), or is `unknown`. A style named on a target marks the last place the
//   target stands in what the line showed before, whole ruby bases.
// - ※ directly followed by an annotation that asks for nothing else is a character note
//   (ReadCharacterNote): its character, or its description as a Note.
void ReadNotationLine(std::string_view line, NotationLine& out);

// What `line` reads as: its text, notes and ruby bases, without readings, kanbun marks and
// annotations.
std::string PlainNotationText(std::string_view line);

// The same for a line already read.
std::string PlainText(const NotationLine& line);

} // namespace folivane::engine
