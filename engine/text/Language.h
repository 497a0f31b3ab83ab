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
// - another script: the language of `locale` when it is written in that script (uk_UA and
//   Cyrillic uk, fa_IR and Arabic fa), else the script's most spoken language (Cyrillic ru,
//   Greek el, Arabic ar, Hebrew he, Thai th, Devanagari hi, Bengali bn, Gurmukhi pa, Gujarati
//   gu, Oriya or, Tamil ta, Telugu te, Kannada kn, Malayalam ml, Sinhala si, Lao lo, Tibetan
//   bo, Myanmar my, Georgian ka, Armenian hy, Ethiopic am, Khmer km, Thaana dv, Syriac syr,
//   Cherokee chr, Yi ii), else the script itself (Mongolian mn-Mong, Canadian syllabics
//   und-Cans, Tifinagh und-Tfng);
// - Latin, or no letters at all: the language of `locale` ("de_DE.UTF-8" de, "sr_RS@latin"
//   sr-Latn) when it is written in Latin script, else en ("C", "POSIX", "", zh_CN, ...).
std::string DetectLanguage(std::string_view utf8Sample, std::string_view locale);

} // namespace folivane::engine
