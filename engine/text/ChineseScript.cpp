// Option words of the Chinese scripts, and what a language tag says about the characters.
#include "ChineseScript.h"

#include "AsciiText.h"
#include "LanguageTag.h"

#include <algorithm>
#include <array>

namespace folivane::engine {
namespace {

struct ScriptWord {
    ChineseScript script;
    std::string_view word;
};
constexpr std::array kScriptWords = {
    ScriptWord{ChineseScript::Keep, "keep"},
    ScriptWord{ChineseScript::Simplified, "simplified"},
    ScriptWord{ChineseScript::Traditional, "traditional"},
    ScriptWord{ChineseScript::Taiwan, "taiwan"},
    ScriptWord{ChineseScript::HongKong, "hongkong"},
};

// The subtags of a tag NormalizeLanguageTag accepted: language, then script and region when
// present (extensions and variants do not change the characters).
struct ChineseTag {
    std::string_view script; // "Hans", "Hant" or empty
    std::string_view region; // "TW", "CN", ... or empty
};

std::optional<ChineseTag> ParseChineseTag(std::string_view canonical) {
    if (canonical != "zh" && !canonical.starts_with("zh-")) return std::nullopt;
    ChineseTag parsed;
    std::string_view rest = canonical.substr(std::min<std::size_t>(3, canonical.size()));
    const auto next = [&rest] {
        const std::size_t dash = std::min(rest.find('-'), rest.size());
        return rest.substr(0, dash);
    };
    const auto drop = [&rest](std::size_t length) {
        rest.remove_prefix(std::min(length + 1, rest.size()));
    };
    if (next().size() == 4 && IsAsciiUpper(next()[0])) { // script, title case once normalised
        parsed.script = next();
        drop(parsed.script.size());
    }
    if (next().size() == 2 || (next().size() == 3 && IsAsciiDigit(next()[0])))
        parsed.region = next();
    return parsed;
}

bool NamesTraditional(const ChineseTag& tag) {
    if (!tag.script.empty()) return tag.script == "Hant";
    return tag.region == "TW" || tag.region == "HK" || tag.region == "MO";
}

} // namespace

std::optional<ChineseScript> ParseChineseScript(std::string_view name) {
    const std::string lowered = AsciiLowered(name);
    const auto found = std::ranges::find(kScriptWords, lowered, &ScriptWord::word);
    if (found == kScriptWords.end()) return std::nullopt;
    return found->script;
}

std::string_view ChineseScriptName(ChineseScript script) {
    return std::ranges::find(kScriptWords, script, &ScriptWord::script)->word;
}

std::optional<ChineseForm> ChineseFormOfTag(std::string_view tag) {
    const std::optional<std::string> canonical = NormalizeLanguageTag(tag);
    if (!canonical) return std::nullopt;
    const std::optional<ChineseTag> parsed = ParseChineseTag(*canonical);
    if (!parsed) return std::nullopt;
    return NamesTraditional(*parsed) ? ChineseForm::Traditional : ChineseForm::Simplified;
}

std::string ConvertedLanguageTag(std::string_view tag, ChineseScript target) {
    const std::optional<ChineseForm> form = ChineseFormOfTag(tag);
    if (!form) return std::string(tag);
    switch (target) {
    case ChineseScript::Keep:
        return std::string(tag);
    case ChineseScript::Simplified:
        return *form == ChineseForm::Simplified ? *NormalizeLanguageTag(tag) : "zh-CN";
    case ChineseScript::Traditional:
        return *form == ChineseForm::Traditional ? *NormalizeLanguageTag(tag) : "zh-TW";
    case ChineseScript::Taiwan:
        return "zh-TW";
    case ChineseScript::HongKong:
        return "zh-HK";
    }
    return std::string(tag);
}

} // namespace folivane::engine
