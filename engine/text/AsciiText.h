// ASCII letters, digits and letter case, whatever the process's locale says.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace folivane::engine {

// The locale-free tests and case changes of names, tags and keywords: std::tolower follows
// the process's locale, and in a Turkish one "I" does not lower to "i".
constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}
constexpr bool IsAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsAsciiLetter(char c) {
    return IsAsciiLower(c) || IsAsciiUpper(c);
}
constexpr bool IsAsciiLetterOrDigit(char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c);
}
constexpr char AsciiLower(char c) {
    return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
    return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiLowered(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), AsciiLower);
    return out;
}
inline std::string AsciiUppered(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), AsciiUpper);
    return out;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}
constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace folivane::engine
