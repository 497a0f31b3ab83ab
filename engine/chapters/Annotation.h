// What one annotation ［＃…］ of the notation of Japanese archive texts asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace folivane::engine {

// How a stretch of text is set off: emphasis dots or a line beside it, a weight or slant,
// digits set upright as one cell, a small raised or lowered size.
enum class TextStyle : std::uint8_t {
    Sesame,        // 傍点
    WhiteSesame,   // 白ゴマ傍点
    Dot,           // 丸傍点
    WhiteDot,      // 白丸傍点
    Triangle,      // 黒三角傍点
    WhiteTriangle, // 白三角傍点
    DoubleCircle,  // 二重丸傍点
    Bullseye,      // 蛇の目傍点
    Cross,         // ばつ傍点
    Line,          // 傍線
    DoubleLine,    // 二重傍線
    ChainLine,     // 鎖線
    DashedLine,    // 破線
    DottedLine,    // 点線
    WavyLine,      // 波線
    Bold,          // 太字
    Italic,        // 斜体
    Upright,       // 縦中横
    Superscript,   // 上付き小文字
    Subscript,     // 下付き小文字
};

enum class AnnotationKind : std::uint8_t {
    Unknown,
    Editorial,  // the typist's note on the source (底本では, ママ), shown to nobody
    PageBreak,  // 改ページ, 改丁, 改見開き, 改段
    Kaeriten,   // a kanbun order mark (レ, 一, 上 ...): `text`
    Okurigana,  // a kanbun reading aid （ノ）: `text`, without the parentheses
    Style,      // 「target」に傍点, 「target」は太字 ...: `style` on the preceding target
    StyleBegin, // 傍点 ... up to StyleEnd of the same `style`
    StyleEnd,   // 傍点終わり
    Heading, // 「target」は中見出し, or 中見出し ... 中見出し終わり: a heading line
    HeadingEnd, // 中見出し終わり
    Indent,     // N字下げ: the line begins `first` characters in
    AlignEnd, // 地付き (`first` 0), 地からN字上げ: the line ends `first` short of the end
    BlockIndent, // ここからN字下げ[、折り返してM字下げ]: `first` and `rest` for lines after
    BlockIndentEnd,   // ここで字下げ終わり
    BlockAlignEnd,    // ここから地付き, ここから地からN字上げ
    BlockAlignEndEnd, // ここで地付き終わり, ここで字上げ終わり
    BlockHeading,     // ここから中見出し: the lines up to its end are one heading
    BlockHeadingEnd,  // ここで中見出し終わり
};

struct Annotation {
    AnnotationKind kind = AnnotationKind::Unknown;
    TextStyle style = TextStyle::Sesame;
    bool left = false;  // a style on the left of vertical lines (の左に), below horizontal ones
    unsigned level = 0; // headings: 1 大見出し, 2 中見出し, 3 小見出し
    unsigned first = 0; // indents and alignment, in characters
    unsigned rest = 0;  // block indents: the lines a line wraps into
    std::string_view target = {}; // the text that Style and Heading name, in the notation
    std::string_view text = {};   // Kaeriten and Okurigana
};

// The annotation whose body (the text between ［＃ and ］) is `body`; Unknown when it asks for
// nothing this program does. A character note (※［＃「…」、第3水準1-90-31］) is no
// annotation of this kind: ReadCharacterNote reads it.
Annotation ClassifyAnnotation(std::string_view body);

// Where each annotation ［＃…］ of a line closes, nested ones matched as brackets are: found in
// one pass, so that a line of many unclosed ［＃ costs no more than its length.
class AnnotationCloses {
public:
    explicit AnnotationCloses(std::string_view line);
    // Where the annotation opening at `at` (its ［) closes (its ］); npos when it does not.
    std::size_t Of(std::size_t at) const;

private:
    std::vector<std::pair<std::size_t, std::size_t>> pairs_; // open, close; by open
};

// The largest indent or alignment taken, in characters: a page is not wider.
inline constexpr unsigned kMaxIndent = 20;

} // namespace folivane::engine
