// Wildcard masks: "*", "?", sets "<a-z>" with "!" or "^" for the complement, star sets "*<...>".
#pragma once

#include <string_view>

namespace folivane::zip {

// True when the name fits the mask. Letters A to Z match their lower case; other bytes
// match only themselves. A malformed mask matches nothing from where it is malformed.
bool WildcardMatch(std::string_view mask, std::string_view name);

// True when the text holds any of "*", "?", "<", ">", "|": a mask rather than a file name.
bool HasWildcard(std::string_view text);

} // namespace folivane::zip
