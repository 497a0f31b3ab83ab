// Locale to DOS code page, and the conversions through it.
#include "OemCodePage.h"

#include "platform/TextConversion.h"

#include <cstdlib>

namespace folivane::zip {

using platform::ConvertText;
using platform::IsAscii;

OemCodePage::OemCodePage(std::string iconvName) : name_(std::move(iconvName)) {}

std::string OemCodePage::ForLocale(std::string_view locale) {
    const auto starts = [&](std::string_view prefix) {
        return locale.substr(0, prefix.size()) == prefix;
    };
    if (starts("zh_TW") || starts("zh_HK")) return "CP950";
    if (starts("zh")) return "CP936";
    if (starts("ja")) return "CP932";
    if (starts("ko")) return "CP949";
    if (starts("ru")) return "CP866";
    return "CP437";
}

const OemCodePage& OemCodePage::System() {
    static const OemCodePage system = [] {
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"})
            if (const char* value = std::getenv(variable); value && *value)
                return OemCodePage(ForLocale(value));
        return OemCodePage(ForLocale(""));
    }();
    return system;
}

std::string OemCodePage::FromWorking(std::string_view text) const {
    if (IsAscii(text)) return std::string(text);
    return ConvertText(text, "UTF-8", name_ + "//TRANSLIT", "?");
}

std::string OemCodePage::ToWorking(std::string_view oem) const {
    if (IsAscii(oem)) return std::string(oem);
    return ConvertText(oem, name_, "UTF-8", "?");
}

} // namespace folivane::zip
