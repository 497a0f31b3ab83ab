// Language names as archives' headers write them ("Language: English"), as tags.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// The BCP 47 tag of the language whose English name is `name` ("English" en, "Chinese" zh,
// "Dutch" nl, "Greek" el), in any letter case, as the ISO 639 list of the iso-codes package
// names it: a whole name, one of its alternatives ("Dutch; Flemish") or a name without its
// qualifier ("Greek, Modern (1453-)"), a language of ISO 639-1 before one that has none. Only
// the first of several names ("English, French") counts. A tag already ("en", "zh-TW") is
// taken as it is. Empty when nothing matches or the list is not installed.
std::string LanguageTagOfName(std::string_view name);

} // namespace folivane::engine
