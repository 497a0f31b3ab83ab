// Reading a chapter's text file into UTF-8, whatever its encoding.
#pragma once

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
// system's reason when it cannot be opened or read.
SourceBytes ReadSourceBytes(const std::string& path);

// The body as UTF-8. UTF-16LE ends at its first zero unit; an odd last byte is a unit of
// its own with a zero high byte; a surrogate pair becomes one character and a lone
// surrogate U+FFFD. UTF-8 with a mark: each malformed sequence becomes U+FFFD. Without a mark: valid UTF-8
// is taken as it is; anything else is decoded from `legacyEncoding` when given, else from
// the code page uchardet detects, else from the locale's ANSI code page, each
// undecodable byte becoming U+FFFD. Nothing else is dropped or changed.
std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding);

// ReadSourceBytes followed by DecodeSource.
std::string ReadSourceText(const std::string& path,
                           const std::string& legacyEncoding = std::string());

// The Windows code page of a locale's language (zh_CN GB18030, zh_TW BIG5-HKSCS, ja
// CP932, ..., otherwise CP1252), as an iconv name.
std::string AnsiCodePageForLocale(std::string_view locale);
// The ANSI code page of this process's locale (LC_ALL, LC_CTYPE, LANG).
std::string SystemAnsiCodePage();

} // namespace folivane::engine
