// Fuzz target: the language judged from any text under any locale name is a well-formed
// language tag in canonical case, and the same however often it is asked.
#include "engine/text/Language.h"
#include "engine/text/LanguageTag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine = folivane::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first line is the locale's name, the rest the text.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string_view locale = input.substr(0, end);
    const std::string_view text = input.substr(std::min(end + 1, input.size()));
    const std::string language = engine::DetectLanguage(text, locale);
    if (engine::NormalizeLanguageTag(language) != language) __builtin_trap();
    if (engine::DetectLanguage(text, locale) != language) __builtin_trap();
    return 0;
}
