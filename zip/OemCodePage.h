// The DOS code page in which names inside archives are stored.
#pragma once

#include <string>
#include <string_view>

namespace folivane::zip {

// Converts names between the working code page (UTF-8) and one DOS code page. Characters
// the code page lacks become their nearest equivalents or "?". Names made only of ASCII
// pass unchanged. Immutable, so one instance may serve every thread.
class OemCodePage {
public:
    explicit OemCodePage(std::string iconvName);

    // The DOS code page of the locale's language (LC_ALL, LC_CTYPE, LANG): CP936 for
    // zh_CN, CP950 for zh_TW, CP932 for ja, CP949 for ko, CP866 for ru, else CP437.
    static const OemCodePage& System();
    static std::string ForLocale(std::string_view locale);

    std::string FromWorking(std::string_view text) const;
    std::string ToWorking(std::string_view oem) const;
    // Through the code page and back: what survives storing the name.
    std::string RoundTrip(std::string_view text) const { return ToWorking(FromWorking(text)); }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

} // namespace folivane::zip
