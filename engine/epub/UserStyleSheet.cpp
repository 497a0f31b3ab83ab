// Reading and checking the user's style sheet.
#include "UserStyleSheet.h"

#include "engine/text/ConversionError.h"
#include "engine/text/UnicodeText.h"

#include "platform/RegularFile.h"

#include <string_view>

namespace folivane::engine {
namespace {

// A style sheet is a few pages of rules; more is not one.
constexpr std::size_t kMaxStyleSheet = std::size_t{1} << 20;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

std::string ReadUserStyleSheet(const std::string& path) {
    const std::string cannot = "Cannot use the style sheet \"" + path + "\": ";
    std::string css;
    try {
        css = platform::ReadWholeFile(path);
    } catch (const std::exception& error) {
        throw ConversionError(error.what());
    }
    if (css.size() > kMaxStyleSheet)
        throw ConversionError(cannot + "it is larger than 1 MiB, too large for a style sheet");
    if (std::string_view(css).starts_with(kUtf8Mark)) css.erase(0, kUtf8Mark.size());
    if (FindInvalidUtf8(css) != css.size()) throw ConversionError(cannot + "it is not UTF-8 text");
    if (css.find('\0') != std::string::npos)
        throw ConversionError(cannot + "it is not text (it holds NUL bytes)");
    if (css.find_first_not_of(" \t\r\n") == std::string::npos)
        throw ConversionError(cannot + "it is empty");
    return css;
}

} // namespace folivane::engine
