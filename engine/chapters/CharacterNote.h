// Character notes of the notation: a character the text's code page lacks, written as ※
// followed by an annotation that describes it and, mostly, gives its code.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

struct CharacterNote {
    std::string character;        // UTF-8; empty when the note gives no code that converts
    std::string_view description; // the words that describe it, without their 「」
};

// The note whose annotation body (between ［＃ and ］) is `body`: its fields are parted by 、,
// the first one describing the character. A field of a JIS X 0213 plane-row-cell code
// (第3水準1-90-31, 第4水準2-79-53, or 1-13-21 alone) becomes its character through the
// system's EUC-JISX0213 converter; one of U+XXXX becomes that code point. Other fields (the
// page and line of the printed book) say nothing here. A code that names no character makes
// no character.
CharacterNote ReadCharacterNote(std::string_view body);

} // namespace folivane::engine
