// The code pages of locales, as Windows assigns them, and the names iconv knows.
#include "CodePages.h"

#include "AsciiText.h"
#include "Locale.h"

#include "platform/TextConversion.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace folivane::engine {

std::string AnsiCodePageForLocale(std::string_view locale) {
    const LocaleName name = ParseLocale(locale);
    const std::string& language = name.language;
    const auto among = [](const std::string& value, std::initializer_list<std::string_view> list) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    if (language == "zh") {
        // Traditional script where it is written; Simplified elsewhere, as Windows does,
        // rather than a Western code page for Chinese text.
        return among(name.territory, {"tw", "hk", "mo"}) ? "BIG5-HKSCS" : "GB18030";
    }
    if (language == "ja") return "CP932";
    if (language == "ko") return "CP949";
    if (language == "sr" && name.modifier == "latin")
        return "CP1250"; // Serbian in Latin letters uses the Central European page
    if (among(language, {"ru", "uk", "be", "bg", "sr"})) return "CP1251";
    if (among(language, {"cs", "pl", "hu", "sk", "sl", "hr", "ro"})) return "CP1250";
    if (language == "el") return "CP1253";
    if (language == "tr") return "CP1254";
    if (language == "he") return "CP1255";
    if (among(language, {"ar", "fa"})) return "CP1256";
    if (among(language, {"et", "lv", "lt"})) return "CP1257";
    if (language == "vi") return "CP1258";
    if (language == "th") return "CP874";
    return "CP1252";
}

std::string SystemAnsiCodePage() {
    return AnsiCodePageForLocale(CharacterLocaleOfProcess());
}

bool IsKnownTextEncoding(const std::string& name) {
    return platform::IsKnownCharset(name);
}

std::string SupersetCodePage(std::string name) {
    // Lower-case names of a legacy page, each with the superset its files are written in.
    static constexpr std::pair<std::string_view, const char*> kSupersets[] = {
        {"shift_jis", "CP932"}, {"shift-jis", "CP932"},  {"sjis", "CP932"},
        {"ms_kanji", "CP932"},  {"csshiftjis", "CP932"}, {"euc-kr", "CP949"},
        {"euckr", "CP949"},     {"uhc", "CP949"},        {"gbk", "GB18030"},
        {"gb2312", "GB18030"},  {"euc-cn", "GB18030"},   {"euccn", "GB18030"},
        {"cp936", "GB18030"},   {"big5", "BIG5-HKSCS"},  {"big-5", "BIG5-HKSCS"},
    };
    const std::string lower = AsciiLowered(name);
    for (const auto& [page, superset] : kSupersets)
        if (lower == page) return superset;
    return name;
}

} // namespace folivane::engine
