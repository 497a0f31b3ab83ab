// UTF-8 checked and repaired, and UTF-16 and UTF-32 turned into UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

// The UTF-8 sequence that starts `bytes` (not empty). A well-formed one gives its length;
// a malformed one (bad or missing continuation, overlong form, surrogate, beyond
// U+10FFFF) gives valid == false and the length of its longest well-formed prefix, at
// least 1: the bytes that stand for one U+FFFD.
struct Utf8Sequence {
    std::size_t length;
    bool valid;
};

constexpr Utf8Sequence NextUtf8Sequence(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) return {1, true};
    std::size_t trail = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        if (lead == 0xE0)
            low = 0xA0; // shorter forms are overlong
        else if (lead == 0xED)
            high = 0x9F; // ED A0..BF would encode surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return {1, false};
    }
    for (std::size_t i = 1; i <= trail; ++i) {
        if (i >= bytes.size()) return {i, false};
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < low || c > high) return {i, false};
        low = 0x80;
        high = 0xBF;
    }
    return {trail + 1, true};
}

// Offset of the first malformed sequence, or the size when all of `bytes` is UTF-8.
std::size_t FindInvalidUtf8(std::string_view bytes);

// Appends character `c` (at most U+10FFFF, not a surrogate) to `out` in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// `bytes` with each malformed sequence replaced by U+FFFD; `firstInvalid` is where the first
// one starts.
std::string ReplaceInvalidUtf8(std::string_view bytes, std::size_t firstInvalid);

// What a stretch of bytes holds when read as UTF-8: characters (ASCII and well-formed
// multi-byte sequences), the multi-byte ones among them, and damaged places: runs of
// malformed sequences, each counted once (a CESU-8 pair is one damaged character).
struct Utf8Census {
    std::size_t characters = 0;
    std::size_t multiByte = 0;
    std::size_t malformed = 0;
};
Utf8Census Utf8CensusOf(std::string_view bytes);

// The byte order of UTF-16 text without a byte-order mark, judged from its zero bytes, which
// other text does not hold: either nearly every second byte is zero (Latin letters, digits),
// or line ends and spaces come as UTF-16 units (0A 00, 0D 00, 20 00 little-endian), at least
// twice and hardly ever the other way round. None when neither holds.
enum class Utf16Order { None, LittleEndian, BigEndian };
Utf16Order UnmarkedUtf16Order(std::string_view bytes);

// UTF-16 code units in either byte order as UTF-8. A surrogate pair becomes one character
// and a lone surrogate U+FFFD; zero units are dropped, as XML does not allow U+0000, and the
// text goes on. An odd last byte of little-endian text is a unit of its own with a zero high
// byte; in big-endian text it is a cut unit, U+FFFD.
std::string DecodeUtf16(std::string_view body, bool bigEndian);

// UTF-32 in either byte order as UTF-8: zero characters dropped, surrogates and values beyond
// U+10FFFF as U+FFFD, and one U+FFFD for a cut last character.
std::string DecodeUtf32(std::string_view body, bool bigEndian);

} // namespace folivane::engine
