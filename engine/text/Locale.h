// The parts of a POSIX locale name, and the locales this process runs in.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// language[_territory][.codeset][@modifier], each part in lower case ("zh_TW.Big5" gives zh,
// tw; "sr_RS@Latin" gives sr, rs, latin). A "-" separates the territory as "_" does, as in
// the BCP 47 tags some systems put there ("en-US").
struct LocaleName {
    std::string language;
    std::string territory;
    std::string modifier;
};
LocaleName ParseLocale(std::string_view locale);

// The locale that names this process's language: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG, else "".
std::string LocaleOfProcess();
// The locale that names this process's character set: the first non-empty of LC_ALL,
// LC_CTYPE and LANG, else "".
std::string CharacterLocaleOfProcess();

} // namespace folivane::engine
