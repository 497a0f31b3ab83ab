// UTF-8 validation and repair, UTF-16 and UTF-32 decoding.
#include "UnicodeText.h"

#include "platform/Memory.h"

#include <cstdint>
#include <cstring>

namespace folivane::engine {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// Text is mostly ASCII or mostly multi-byte; skip ASCII eight bytes at a time.
std::size_t SkipAscii(std::string_view bytes, std::size_t i) {
    while (i + 8 <= bytes.size()) {
        std::uint64_t block;
        std::memcpy(&block, bytes.data() + i, sizeof block);
        if (block & 0x8080808080808080ULL) break;
        i += 8;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

char32_t ByteAt(std::string_view body, std::size_t i) {
    return static_cast<unsigned char>(body[i]);
}

} // namespace

Utf16Order UnmarkedUtf16Order(std::string_view bytes) {
    if (std::memchr(bytes.data(), 0, bytes.size()) == nullptr) return Utf16Order::None;
    // zeros[0]: zero bytes at even offsets (the high byte of big-endian ASCII), zeros[1] at
    // odd ones; spaces[k] likewise for the units of line ends and spaces.
    std::size_t zeros[2] = {0, 0};
    std::size_t spaces[2] = {0, 0};
    const std::size_t pairs = bytes.size() / 2;
    if (pairs == 0) return Utf16Order::None;
    for (std::size_t i = 0; i < pairs; ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        if ((first == 0) == (second == 0)) continue;
        const unsigned char other = first == 0 ? second : first;
        const std::size_t side = first == 0 ? 0 : 1;
        ++zeros[side];
        if (other == '\n' || other == '\r' || other == ' ') ++spaces[side];
    }
    for (const std::size_t side : {std::size_t{0}, std::size_t{1}}) {
        const std::size_t other = 1 - side;
        const bool everySecond =
            zeros[side] > 0 && zeros[side] * 4 >= pairs * 3 && zeros[other] * 16 <= pairs;
        const bool spacedUnits = spaces[side] >= 2 && spaces[other] * 16 <= spaces[side];
        if (everySecond || spacedUnits)
            return side == 0 ? Utf16Order::BigEndian : Utf16Order::LittleEndian;
    }
    return Utf16Order::None;
}

void AppendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, PutUtf8(bytes, c));
}

std::size_t FindInvalidUtf8(std::string_view bytes) {
    std::size_t i = SkipAscii(bytes, 0);
    while (i < bytes.size()) {
        const Utf8Sequence sequence = NextUtf8Sequence(bytes.substr(i));
        if (!sequence.valid) return i;
        i = SkipAscii(bytes, i + sequence.length);
    }
    return bytes.size();
}

std::string ReplaceInvalidUtf8(std::string_view bytes, std::size_t firstInvalid) {
    std::string out;
    platform::ReserveLargeBuffer(out, bytes.size() + bytes.size() / 4 + kReplacement.size());
    out.append(bytes.substr(0, firstInvalid));
    std::size_t run = firstInvalid; // start of the well-formed bytes not yet copied
    std::size_t i = firstInvalid;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Utf8Sequence sequence = NextUtf8Sequence(bytes.substr(i));
        if (!sequence.valid) {
            out.append(bytes.substr(run, i - run));
            out.append(kReplacement);
            run = i + sequence.length;
        }
        i += sequence.length;
    }
    out.append(bytes.substr(run));
    return out;
}

Utf8Census Utf8CensusOf(std::string_view bytes) {
    Utf8Census census;
    bool inDamage = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t ascii = SkipAscii(bytes, i);
        census.characters += ascii - i;
        if (ascii > i) inDamage = false;
        i = ascii;
        if (i >= bytes.size()) break;
        const Utf8Sequence sequence = NextUtf8Sequence(bytes.substr(i));
        if (sequence.valid) {
            ++census.characters;
            ++census.multiByte;
        } else if (!inDamage) {
            ++census.malformed;
        }
        inDamage = !sequence.valid;
        i += sequence.length;
    }
    return census;
}

std::string DecodeUtf16(std::string_view body, bool bigEndian) {
    const std::size_t units = (body.size() + 1) / 2;
    const auto unitAt = [&](std::size_t i) -> char32_t {
        if (2 * i + 1 >= body.size()) return bigEndian ? 0xFFFD : ByteAt(body, 2 * i);
        const char32_t first = ByteAt(body, 2 * i);
        const char32_t second = ByteAt(body, 2 * i + 1);
        return bigEndian ? (first << 8) | second : first | (second << 8);
    };
    // At most three bytes per unit: a pair of units gives four.
    std::string out;
    platform::ReserveLargeBuffer(out, units * 3);
    out.resize(units * 3);
    char* o = out.data();
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unitAt(i);
        if (c == 0) continue;
        if (c >= 0xD800 && c <= 0xDFFF) {
            const char32_t next = i + 1 < units ? unitAt(i + 1) : 0;
            if (c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        o = PutUtf8(o, c);
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::string DecodeUtf32(std::string_view body, bool bigEndian) {
    const std::size_t characters = body.size() / 4;
    std::string out;
    platform::ReserveLargeBuffer(out, characters * 4 + kReplacement.size());
    out.resize(characters * 4 + kReplacement.size());
    char* o = out.data();
    for (std::size_t i = 0; i < characters; ++i) {
        char32_t c = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char32_t byte = ByteAt(body, 4 * i + (bigEndian ? k : 3 - k));
            c = (c << 8) | byte;
        }
        if (c == 0) continue;
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        o = PutUtf8(o, c);
    }
    if (body.size() % 4 != 0) o = PutUtf8(o, 0xFFFD);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

} // namespace folivane::engine
