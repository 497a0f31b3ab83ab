// Reading a chapter's text file into UTF-8, whatever its encoding.
#pragma once

#include "EncodingJudgement.h"
#include "UnicodeText.h"

#include "platform/FileStatus.h"

#include <cstddef>
#include <functional>
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

// Reads the file as it was when opened, and recognises a byte-order mark: UTF-8 (EF BB BF),
// UTF-16LE (FF FE), UTF-16BE (FE FF), UTF-32LE (FF FE 00 00), UTF-32BE (00 00 FE FF). Bytes
// that another program appends while it is read are left out. Raises ConversionError naming
// the file and the system's reason when it cannot be opened or read, or is no regular file (a
// folder, a FIFO, a device). `opened`, when given, receives what the open descriptor says
// of the file (its device and inode tell which file it was), at no cost of its own.
// `progress`, when given, hears how many bytes are read as a large file is read in steps.
SourceBytes ReadSourceBytes(const std::string& path, platform::FileStatus* opened = nullptr,
                            const std::function<void(std::size_t)>& progress = {});

// What decides a source's encoding besides its bytes.
struct EncodingRule {
    // The code page the user named (for this source, else for the book); empty: judged.
    std::string chosen;
    BookCodePageQuery bookPage;
};

// The user's code page for a source: its own choice, else the book's.
inline std::string ChosenEncoding(const std::string& legacyEncoding,
                                  const std::string& forcedEncoding) {
    return forcedEncoding.empty() ? legacyEncoding : forcedEncoding;
}

// How the body is to be read, as an iconv name, and what decided it:
// - Mark: the byte-order mark's encoding, when there is one;
// - Chosen: else `rule.chosen` when given, even for bytes that are also UTF-8;
// - Text: else UTF-16 when its first MiB holds UTF-16's zero bytes (UnmarkedUtf16Order); UTF-8
//   when it is UTF-8 throughout or but for a few damaged sequences (at most one in a thousand
//   characters);
// - else as JudgeCodePage judges the MiB after the first byte above 7F, with the book's page.
// A legacy page is read as the superset its files are written in (SupersetCodePage). Raises
// ConversionError when `rule.chosen` is unknown to iconv.
EncodingJudgement JudgeSourceEncoding(const SourceBytes& source, const EncodingRule& rule);

// The body as UTF-8, decoded as JudgeSourceEncoding says, which `judged` receives when given.
// UTF-16 and UTF-32 as DecodeUtf16 and DecodeUtf32 read them. UTF-8: each malformed sequence
// (its longest well-formed prefix, or one byte) becomes one U+FFFD. A code page: each
// undecodable byte becomes U+FFFD, and `undecodable`, when given, receives how many there
// were (0 for Unicode forms). Nothing else is dropped or changed. UTF-8 that needs no change
// is moved out instead of copied.
std::string DecodeSource(SourceBytes&& source, const EncodingRule& rule,
                         EncodingJudgement* judged = nullptr, std::size_t* undecodable = nullptr);

// The same with the user's choice as the book's code page (`legacyEncoding`, --encoding) and
// the source's own (`forcedEncoding`), and no other source to judge by.
std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding = std::string());
std::string DecodeSource(SourceBytes&& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding = std::string());

// What JudgeSourceEncoding would say for the file at `path`, so that a front end can show it
// before converting: judged from the first MiB, and the MiB after the first byte above 7F,
// all that the judgement looks at, without reading the rest of the file. Raises as
// ReadSourceBytes.
EncodingJudgement GuessSourceEncoding(const std::string& path, const EncodingRule& rule = {});

// The length of the byte-order mark that gives `encoding`: 0 for seAnsi.
std::size_t MarkSize(SourceEncoding encoding);

// ReadSourceBytes followed by DecodeSource.
std::string ReadSourceText(const std::string& path,
                           const std::string& legacyEncoding = std::string(),
                           const std::string& forcedEncoding = std::string());

} // namespace folivane::engine
