// Fuzz target: the wildcard matcher on any mask and name must neither crash nor hang.
#include "zip/WildcardMatch.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The mask ends at the first NUL byte, the name is what follows; without one the input
    // is cut in half, so that the mutator needs no separator to reach both sides.
    const auto separator = input.find('\0');
    const std::size_t cut = separator == std::string_view::npos ? size / 2 : separator;
    const std::string_view mask = input.substr(0, cut);
    const std::string_view name = input.substr(separator == std::string_view::npos ? cut : cut + 1);
    const bool matched = folivane::zip::WildcardMatch(mask, name);
    // The one mask that every name fits.
    if (mask == "*" && !matched) __builtin_trap();
    // A mask without wildcard characters is a plain name, compared without case (A-Z only).
    if (!folivane::zip::HasWildcard(mask) && mask.size() == name.size() && !matched) {
        bool equal = true;
        for (std::size_t i = 0; i < mask.size() && equal; ++i) {
            const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
            equal = fold(mask[i]) == fold(name[i]);
        }
        if (equal) __builtin_trap();
    }
    return 0;
}
