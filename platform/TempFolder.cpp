// $TMPDIR and uniquely named folders.
#include "TempFolder.h"

#include "SystemCalls.h"

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string_view>

namespace folivane::platform {

std::string SystemTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string UniqueLetters(std::size_t count) {
    constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string letters(count, 'X');
    for (char& c : letters)
        c = kLetters[random() % kLetters.size()];
    return letters;
}

int MakeUniqueFolder(std::string& pattern, unsigned mode) {
    constexpr std::size_t kUnique = 6;
    if (pattern.size() < kUnique) return EINVAL;
    // As many tries as mkdtemp makes before it gives up on a crowded folder.
    for (int attempt = 0; attempt < 100; ++attempt) {
        pattern.replace(pattern.size() - kUnique, kUnique, UniqueLetters(kUnique));
        if (sys::MakeFolder(pattern, static_cast<mode_t>(mode)) == 0) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

} // namespace folivane::platform
