// Guessing the language a book is written in, for its metadata.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// The BCP 47 tag of the language `utf8Sample` (decoded text; only its first 256 KiB are read)
// is written in, judged by script. Letters are counted per script, a CJK character counting as
// three (it carries about a word); the script with the highest count decides:
// - CJK: ko when Hangul is at least a fifth of the CJK characters (and more than kana), else ja
//   when kana is at least a tenth, else zh-TW when characters found only in Traditional text
//   outnumber those found only in Simplified text more than two to one, else zh-CN;
// - Cyrillic ru, Greek el, Arabic ar, Hebrew he, Thai th;
// - Latin, or no letters at all: the language of `locale` ("de_DE.UTF-8" de, "sr_RS@latin"
//   sr-Latn) when it is written in Latin script, else en ("C", "POSIX", "", zh_CN, ...).
std::string DetectLanguage(std::string_view utf8Sample, std::string_view locale);

} // namespace folivane::engine
