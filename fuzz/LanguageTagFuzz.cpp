// Fuzz target: language tags as users type them. A tag that is accepted comes back in its
// canonical case, the same letters otherwise, and is accepted again unchanged; one that is
// refused is named in the refusal.
#include "engine/text/FailureText.h"
#include "engine/text/LanguageTag.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine = folivane::engine;

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view tag(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> canonical = engine::NormalizeLanguageTag(tag);
    if (!canonical) {
        if (engine::FailureText(engine::LanguageTagProblem(tag)).find(tag) == std::string::npos)
            __builtin_trap();
        return 0;
    }
    // A locale-style "_" reads as "-"; nothing else changes but letter case.
    std::string dashed(tag);
    std::replace(dashed.begin(), dashed.end(), '_', '-');
    if (!SameIgnoringCase(*canonical, dashed)) __builtin_trap();
    for (const char c : *canonical) {
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed) __builtin_trap();
    }
    if (engine::NormalizeLanguageTag(*canonical) != canonical) __builtin_trap();
    return 0;
}
