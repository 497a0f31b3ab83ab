// Fuzz target: every way of decoding a source gives valid UTF-8, and UTF-8 comes out as it went in.
#include "engine/SourceText.h"

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
    source.encoding = static_cast<SourceEncoding>(selector % 3);
    source.body = std::string(body);

    const std::string text = folivane::engine::DecodeSource(source, legacy);
    if (!IsUtf8(text)) __builtin_trap();
    // UTF-8 is taken as it is, with or without a mark.
    if (source.encoding != folivane::engine::seUtf16LE && IsUtf8(body) && text != body)
        __builtin_trap();

    if (selector & 0x80) {
        {
            std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
            out.write(body.data(), static_cast<std::streamsize>(body.size()));
        }
        const std::string read = folivane::engine::ReadSourceText(ScratchPath(), legacy);
        if (!IsUtf8(read)) __builtin_trap();
    }
    return 0;
}
