// Locale names taken apart, and read from the environment as the C library reads them.
#include "Locale.h"

#include "AsciiText.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace folivane::engine {
namespace {

std::string FirstSet(std::initializer_list<const char*> variables) {
    for (const char* variable : variables) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

} // namespace

LocaleName ParseLocale(std::string_view locale) {
    LocaleName name;
    const std::size_t at = locale.find('@');
    if (at != std::string_view::npos) {
        name.modifier = AsciiLowered(locale.substr(at + 1));
        locale = locale.substr(0, at);
    }
    locale = locale.substr(0, std::min(locale.find('.'), locale.size()));
    const std::size_t separator = std::min(locale.find_first_of("_-"), locale.size());
    name.language = AsciiLowered(locale.substr(0, separator));
    if (separator < locale.size()) name.territory = AsciiLowered(locale.substr(separator + 1));
    return name;
}

std::string LocaleOfProcess() {
    return FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
}

std::string CharacterLocaleOfProcess() {
    return FirstSet({"LC_ALL", "LC_CTYPE", "LANG"});
}

} // namespace folivane::engine
