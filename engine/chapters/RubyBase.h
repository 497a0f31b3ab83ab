// What a ruby of the notation is made of: readings of kana, bases that are runs of one kind
// of character.
#pragma once

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// Whether `reading` (not empty) is kana alone, as a reading after a base found by its kind is.
bool IsKanaReading(std::string_view reading);

// The kinds of character a ruby base is a run of.
enum class BaseKind { None, Kanji, Katakana, Hiragana, Latin };

BaseKind BaseKindOf(char32_t c);

// How many bytes at the end of `text` are characters of `kind`; `kind` None takes the kind
// of the last character.
std::size_t TrailingOfKind(std::string_view text, BaseKind& kind);

} // namespace folivane::engine
