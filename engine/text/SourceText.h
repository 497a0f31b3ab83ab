// Reading a chapter's text file into UTF-8, whatever its encoding.
#pragma once

#include "UnicodeText.h"

#include "platform/FileStatus.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

// The byte-order mark a file begins with; seAnsi for none.
enum SourceEncoding {
    seAnsi = 0,
    seUtf16LE = 1,
    seUtf8 = 2,
    seUtf16BE = 3,
    seUtf32LE = 4,
    seUtf32BE = 5
};

struct SourceBytes {
    SourceEncoding encoding = seAnsi;
    std::string body; // the bytes after the byte-order mark
};

// Reads the whole file and recognises a byte-order mark: UTF-8 (EF BB BF), UTF-16LE (FF FE),
// UTF-16BE (FE FF), UTF-32LE (FF FE 00 00), UTF-32BE (00 00 FE FF). Raises ConversionError
// naming the file and the system's reason when it cannot be opened or read, or is no
// regular file (a folder, a FIFO, a device). `opened`, when given, receives what the open
// descriptor says of the file (its device and inode tell which file it was), at no cost of
// its own.
SourceBytes ReadSourceBytes(const std::string& path, platform::FileStatus* opened = nullptr);

// How the body is to be read, as an iconv name: the mark's encoding when there is one;
// without a mark `forcedEncoding` when given (the user's choice for this source), else
// UTF-8 when it is UTF-8 throughout or but for a few damaged sequences (at most one in a
// thousand characters); else `legacyEncoding` when given, else the code page uchardet
// detects, else the locale's ANSI code page; BIG5 is read as its superset BIG5-HKSCS.
// Raises ConversionError when `legacyEncoding` or `forcedEncoding` is unknown to iconv.
std::string ChooseSourceEncoding(const SourceBytes& source, const std::string& legacyEncoding,
                                 const std::string& forcedEncoding = std::string());

// The body as UTF-8, decoded as ChooseSourceEncoding says. UTF-16 and UTF-32 as
// DecodeUtf16 and DecodeUtf32 read them. UTF-8: each malformed sequence (its longest
// well-formed prefix, or one byte) becomes one U+FFFD. A code page: each undecodable byte
// becomes U+FFFD. Nothing else is dropped or changed.
std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding = std::string());

// The same, taking the bytes: UTF-8 that needs no change is moved out instead of copied.
std::string DecodeSource(SourceBytes&& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding = std::string());

// What ChooseSourceEncoding would say for the file at `path`, so that a front end can show
// it before converting: judged from the MiB after the first byte above 7F, all that the
// detection looks at, without reading the rest of the file. `marked`, when given, tells
// whether a byte-order mark decides. Raises as ReadSourceBytes.
std::string GuessSourceEncoding(const std::string& path,
                                const std::string& legacyEncoding = std::string(),
                                bool* marked = nullptr);

// The length of the byte-order mark that gives `encoding`: 0 for seAnsi.
std::size_t MarkSize(SourceEncoding encoding);

// ReadSourceBytes followed by DecodeSource.
std::string ReadSourceText(const std::string& path,
                           const std::string& legacyEncoding = std::string(),
                           const std::string& forcedEncoding = std::string());

} // namespace folivane::engine
