// Fuzz target: every way of decoding a source gives valid UTF-8, UTF-8 comes out as it went in,
// damaged UTF-8 as a reference repair makes it, UTF-16 and UTF-32 as iconv reads them, and a
// file's mark is found as a reference table says.
#include "engine/text/SourceText.h"
#include "platform/TextConversion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using folivane::engine::SourceBytes;
using folivane::engine::SourceEncoding;

// Code pages a user may force: multi-byte, stateful (ISO-2022-JP, UTF-7), single-byte, and
// UTF-16 itself; empty means detection.
const char* const kLegacyEncodings[] = {
    "",      "",       "",       "GB18030", "BIG5-HKSCS", "CP932", "EUC-JP", "ISO-2022-JP",
    "CP949", "CP1250", "CP1251", "CP1252",  "CP1255",     "CP874", "KOI8-R", "UTF-16LE",
    "UTF-7",
};

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF. Written apart
// from the decoder so that the two do not share a mistake.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1Fu;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0Fu;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            code = (code << 6) | (t & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// The Unicode recommended repair of damaged UTF-8 (each maximal subpart of an ill-formed
// sequence becomes one U+FFFD), from the table of well-formed byte sequences.
std::string RepairUtf8(std::string_view text) {
    struct Row {
        unsigned char first, last;
        unsigned char second[2]; // the range of the second byte
        int length;
    };
    static constexpr Row kRows[] = {
        {0xC2, 0xDF, {0x80, 0xBF}, 2}, {0xE0, 0xE0, {0xA0, 0xBF}, 3}, {0xE1, 0xEC, {0x80, 0xBF}, 3},
        {0xED, 0xED, {0x80, 0x9F}, 3}, {0xEE, 0xEF, {0x80, 0xBF}, 3}, {0xF0, 0xF0, {0x90, 0xBF}, 4},
        {0xF1, 0xF3, {0x80, 0xBF}, 4}, {0xF4, 0xF4, {0x80, 0x8F}, 4},
    };
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += text[i++];
            continue;
        }
        const Row* row = nullptr;
        for (const Row& r : kRows)
            if (c >= r.first && c <= r.last) row = &r;
        std::size_t good = 1; // bytes of the maximal subpart
        if (row) {
            for (int k = 1; k < row->length; ++k) {
                if (i + static_cast<std::size_t>(k) >= text.size()) break;
                const auto t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
                const unsigned char low = k == 1 ? row->second[0] : 0x80;
                const unsigned char high = k == 1 ? row->second[1] : 0xBF;
                if (t < low || t > high) break;
                ++good;
            }
        }
        if (row && good == static_cast<std::size_t>(row->length))
            out.append(text.substr(i, good));
        else
            out += "\xEF\xBF\xBD";
        i += good;
    }
    return out;
}

// UTF-16 or UTF-32 that iconv reads as the decoder must: no zero characters (the decoder
// drops them), no lone surrogates, nothing beyond U+10FFFF, whole units only.
bool WellFormedWide(std::string_view body, int unit, bool bigEndian) {
    if (body.size() % static_cast<std::size_t>(unit) != 0) return false;
    const auto at = [&](std::size_t offset) -> std::uint32_t {
        std::uint32_t value = 0;
        for (int k = 0; k < unit; ++k) {
            const std::size_t byte =
                offset + static_cast<std::size_t>(bigEndian ? k : unit - 1 - k);
            value = (value << 8) | static_cast<unsigned char>(body[byte]);
        }
        return value;
    };
    for (std::size_t i = 0; i < body.size(); i += static_cast<std::size_t>(unit)) {
        const std::uint32_t c = at(i);
        if (c == 0 || c > 0x10FFFF) return false;
        if (unit == 4 && c >= 0xD800 && c <= 0xDFFF) return false;
        if (unit == 2 && c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= body.size()) return false;
            const std::uint32_t next = at(i + 2);
            if (next < 0xDC00 || next > 0xDFFF) return false;
            i += 2;
        } else if (unit == 2 && c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// The encoding a file's first bytes say, by the table of marks.
SourceEncoding MarkOf(std::string_view bytes) {
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return folivane::engine::seUtf32LE;
    if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return folivane::engine::seUtf32BE;
    if (bytes.starts_with("\xEF\xBB\xBF")) return folivane::engine::seUtf8;
    if (bytes.starts_with("\xFF\xFE")) return folivane::engine::seUtf16LE;
    if (bytes.starts_with("\xFE\xFF")) return folivane::engine::seUtf16BE;
    return folivane::engine::seAnsi;
}

// A file that lives as long as the process, for the path through ReadSourceText.
struct ScratchFile {
    std::string path;
    ScratchFile() {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-source-XXXXXX";
        const int fd = ::mkstemp(path.data());
        if (fd < 0) std::abort();
        ::close(fd);
    }
    ~ScratchFile() { ::unlink(path.c_str()); }
};

const std::string& ScratchPath() {
    static const ScratchFile file;
    return file.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the mark the body follows, the forced code page, and whether the
    // bytes also go through a file, where the mark is found by ReadSourceBytes itself.
    const unsigned selector = data[0];
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string legacy =
        kLegacyEncodings[(selector / 3) % (sizeof kLegacyEncodings / sizeof *kLegacyEncodings)];
    SourceBytes source;
    source.encoding = static_cast<SourceEncoding>(selector % 6);
    source.body = std::string(body);

    const std::string text = folivane::engine::DecodeSource(source, legacy);
    if (!IsUtf8(text)) __builtin_trap();
    using folivane::engine::seAnsi;
    using folivane::engine::seUtf8;
    const bool wide = source.encoding != seAnsi && source.encoding != seUtf8;
    const std::string chosen = folivane::engine::JudgeSourceEncoding(source, {legacy, {}}).encoding;
    // A code page the user names is obeyed for text without a mark; else UTF-8 is taken as it
    // is, unless its zero bytes show UTF-16.
    if (source.encoding == seAnsi && !legacy.empty() && chosen != legacy) __builtin_trap();
    if (!wide && (legacy.empty() || source.encoding == seUtf8) && IsUtf8(body) &&
        !chosen.starts_with("UTF-16") && text != body)
        __builtin_trap();
    // Damaged UTF-8 is repaired, never read as something else.
    if (!wide && chosen == "UTF-8" && text != RepairUtf8(body)) __builtin_trap();
    if (source.encoding == seUtf8 && chosen != "UTF-8") __builtin_trap();
    // Wide text reads as iconv reads it.
    if (wide) {
        const int unit = chosen.starts_with("UTF-32") ? 4 : 2;
        const bool bigEndian = chosen.ends_with("BE");
        if (WellFormedWide(body, unit, bigEndian) &&
            text != folivane::platform::ConvertText(body, chosen, "UTF-8", "?"))
            __builtin_trap();
    }

    if (selector & 0x80) {
        {
            std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
            out.write(body.data(), static_cast<std::streamsize>(body.size()));
        }
        if (folivane::engine::ReadSourceBytes(ScratchPath()).encoding != MarkOf(body))
            __builtin_trap();
        const std::string read = folivane::engine::ReadSourceText(ScratchPath(), legacy);
        if (!IsUtf8(read)) __builtin_trap();
    }
    return 0;
}
