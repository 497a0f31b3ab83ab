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
    const auto refuse = [&path](FailureKind kind) { throw ConversionError({kind, path}); };
    std::string css;
    try {
        css = ReadingFile(path, [&] { return platform::ReadWholeFile(path); });
    } catch (const platform::EStreamError& error) {
        throw ConversionError(FileFailure(error));
    }
    if (css.size() > kMaxStyleSheet) refuse(FailureKind::StyleSheetTooLarge);
    if (std::string_view(css).starts_with(kUtf8Mark)) css.erase(0, kUtf8Mark.size());
    if (FindInvalidUtf8(css) != css.size()) refuse(FailureKind::StyleSheetNotUtf8);
    if (css.find('\0') != std::string::npos) refuse(FailureKind::StyleSheetNotText);
    if (css.find_first_not_of(" \t\r\n") == std::string::npos) refuse(FailureKind::StyleSheetEmpty);
    return css;
}

} // namespace folivane::engine
