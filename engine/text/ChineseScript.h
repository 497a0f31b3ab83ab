// The script a reader wants Chinese text in, and the language tags that follow from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace folivane::engine {

// What the user asks for: the text as it is, Simplified or Traditional characters, or
// Traditional characters with the words and character forms of Taiwan or Hong Kong.
enum class ChineseScript { Keep, Simplified, Traditional, Taiwan, HongKong };

// The script named by its option word: keep, simplified, traditional, taiwan or hongkong
// (ASCII letters in any case). nullopt for any other word.
std::optional<ChineseScript> ParseChineseScript(std::string_view name);

// The option word of `script`, as ParseChineseScript reads it.
std::string_view ChineseScriptName(ChineseScript script);

// The characters a Chinese text is written in.
enum class ChineseForm { Simplified, Traditional };

// The characters text tagged `tag` (a BCP 47 tag in any letter case, "_" or "-") is written
// in: Traditional for zh-Hant and for zh with region TW, HK or MO and no script subtag,
// Simplified for every other zh tag (zh, zh-CN, zh-SG, zh-Hans-HK, ...). nullopt for tags of
// other languages: ja, ko, en, ... are never converted, although Japanese kanji may look
// like Traditional characters.
std::optional<ChineseForm> ChineseFormOfTag(std::string_view tag);

// The tag of a text tagged `tag` once converted to `target`: zh-CN for Simplified, zh-TW for
// Taiwan, zh-HK for Hong Kong; for Traditional the tag stays when it already names
// Traditional characters (zh-HK, zh-Hant, ...), else zh-TW; Simplified keeps a Simplified tag
// (zh-SG stays zh-SG). Keep, and a tag that is not Chinese, leave `tag` as it is.
std::string ConvertedLanguageTag(std::string_view tag, ChineseScript target);

} // namespace folivane::engine
