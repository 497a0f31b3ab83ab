// Language names looked up in the iso-codes package's ISO 639-2 list.
#include "LanguageNames.h"

#include "AsciiText.h"
#include "LanguageTag.h"
#include "WhiteSpace.h"

#include <fstream>
#include <nlohmann/json.hpp>

namespace folivane::engine {
namespace {

// Whether the list's `entry` ("Dutch; Flemish", "Greek, Modern (1453-)") names `wanted`.
bool Names(std::string_view entry, std::string_view wanted) {
    while (!entry.empty()) {
        const std::size_t end = entry.find(';');
        std::string_view one = TrimSpace(entry.substr(0, end));
        if (EqualsIgnoringAsciiCase(one, wanted)) return true;
        one = TrimSpace(one.substr(0, one.find_first_of(",(")));
        if (EqualsIgnoringAsciiCase(one, wanted)) return true;
        if (end == std::string_view::npos) break;
        entry.remove_prefix(end + 1);
    }
    return false;
}

} // namespace

std::string LanguageTagOfName(std::string_view name) {
    name = TrimSpace(name.substr(0, name.find_first_of(",;/")));
    if (name.empty()) return std::string();
    // A header that already gives a tag ("Language: en").
    if (name.size() <= 3 || name.find_first_of("-_") != std::string_view::npos)
        if (std::optional<std::string> tag = NormalizeLanguageTag(name)) return *tag;
    std::ifstream file(FOLIVANE_ISO_CODES "/json/iso_639-2.json");
    if (!file) return std::string();
    const nlohmann::json list = nlohmann::json::parse(file, nullptr, false);
    if (!list.is_object() || !list.contains("639-2") || !list["639-2"].is_array())
        return std::string();
    std::string found;
    for (const nlohmann::json& entry : list["639-2"]) {
        const std::string entryName = entry.value("name", std::string());
        if (!Names(entryName, name)) continue;
        if (entry.contains("alpha_2")) return entry.value("alpha_2", std::string());
        if (found.empty()) found = entry.value("alpha_3", std::string());
    }
    return found;
}

} // namespace folivane::engine
