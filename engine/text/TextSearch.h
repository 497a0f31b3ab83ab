// Searching a whole text for a few bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// Where `part` first begins in `text` at or after `from`, or npos; as string_view::find, which
// stops at every byte that begins `part`: in CJK text the lead byte of "［＃" or "《" comes
// every few characters, and a novel took milliseconds. This looks at sixteen places at once
// for the first and the last byte of `part` together, which rarely come at its distance.
std::size_t FindIn(std::string_view text, std::string_view part, std::size_t from = 0);

} // namespace folivane::engine
