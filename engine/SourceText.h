// Reading a chapter's text file into UTF-8, whatever its encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

enum SourceEncoding { seAnsi = 0, seUtf16LE = 1, seUtf8 = 2 };

struct SourceBytes {
    SourceEncoding encoding = seAnsi;
    std::string body; // the bytes after the byte-order mark
};

// Reads the whole file and recognises a UTF-16LE (FF FE) or UTF-8 (EF BB, third byte
// skipped unexamined) byte-order mark. Raises ConversionError naming the file and the
// system's reason when it cannot be opened or read, or is no regular file (a folder, a
// FIFO, a device).
SourceBytes ReadSourceBytes(const std::string& path);

// The body as UTF-8. UTF-16LE ends at its first zero unit; an odd last byte is a unit of
// its own with a zero high byte; a surrogate pair becomes one character and a lone
// surrogate U+FFFD. UTF-8 with a mark: each malformed sequence (its longest well-formed
// prefix, or one byte) becomes one U+FFFD. Without a mark: valid UTF-8 is taken as it
// is; anything else is decoded from `legacyEncoding` when given, else from the code page
// uchardet detects, else from the locale's ANSI code page, each undecodable byte
// becoming U+FFFD. Nothing else is dropped or changed. Raises ConversionError only when
// the code page to decode from is unknown to iconv (a mistyped `legacyEncoding`).
std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding);

// ReadSourceBytes followed by DecodeSource.
std::string ReadSourceText(const std::string& path,
                           const std::string& legacyEncoding = std::string());

// The Windows code page of a locale's language (zh_CN GB18030, zh_TW BIG5-HKSCS, ja
// CP932, ..., otherwise CP1252), as an iconv name.
std::string AnsiCodePageForLocale(std::string_view locale);
// The ANSI code page of this process's locale (LC_ALL, LC_CTYPE, LANG).
std::string SystemAnsiCodePage();

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

} // namespace folivane::engine
