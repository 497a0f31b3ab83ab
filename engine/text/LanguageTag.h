// Checking the language tags users give for a book.
#pragma once

#include "Failure.h"

#include <optional>
#include <string>
#include <string_view>

namespace folivane::engine {

// `tag` in canonical letter case (language and everything after a singleton lower case, script
// title case, region upper case: "zh-hant-tw" gives "zh-Hant-TW") when it is a well-formed
// BCP 47 (RFC 5646) tag: language[-extlang][-script][-region][-variant]*[-extension]*
// [-privateuse], a private-use tag (x-...) or one of the irregular grandfathered tags
// (i-klingon, en-GB-oed, ...). nullopt otherwise, and also when a variant or an extension's
// singleton appears twice, which no valid tag does. "_" separates subtags as "-" does, as in
// the locale names users copy (en_US gives en-US).
std::optional<std::string> NormalizeLanguageTag(std::string_view tag);

// The failure both front ends report for a tag NormalizeLanguageTag refuses (in English:
//   "zh CN" is not a language tag (BCP 47, such as en, zh-CN or ja)).
Failure LanguageTagProblem(std::string_view tag);

} // namespace folivane::engine
