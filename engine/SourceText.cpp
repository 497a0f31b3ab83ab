// Reading chapter text files and decoding UTF-16LE, UTF-8 and legacy code pages into UTF-8.
#include "SourceText.h"

#include "ConversionError.h"

#include "platform/FileStatus.h"
#include "platform/Memory.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <uchardet/uchardet.h>
#include <utility>

namespace folivane::engine {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// uchardet judges by the bytes above 7F and reads only a few MB a second: it names the
// same code page from 8 KiB of them as from a whole MiB (CJK and European pages alike),
// so the sample ends after this many, or after kDetectionSample bytes of mostly-ASCII text.
constexpr std::size_t kDetectionHighBytes = 64 << 10;
constexpr std::size_t kDetectionSample = 1 << 20;

// The sample the detector sees: from `start`, until it holds kDetectionHighBytes bytes
// above 7F, at most kDetectionSample bytes.
std::string_view DetectionSample(std::string_view body, std::size_t start) {
    const std::size_t end = std::min(body.size(), start + kDetectionSample);
    std::size_t high = 0;
    std::size_t i = start;
    for (; i + 8 <= end && high < kDetectionHighBytes; i += 8) {
        std::uint64_t block;
        std::memcpy(&block, body.data() + i, sizeof block);
        high += static_cast<std::size_t>(std::popcount(block & 0x8080808080808080ULL));
    }
    for (; i < end && high < kDetectionHighBytes; ++i)
        high += static_cast<unsigned char>(body[i]) >= 0x80 ? 1u : 0u;
    return body.substr(start, i - start);
}

// Offset of the first malformed sequence, or the size when all of `bytes` is UTF-8.
std::size_t FindInvalidUtf8(std::string_view bytes) {
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        // Text is mostly ASCII or mostly multi-byte; skip ASCII eight bytes at a time.
        while (i + 8 <= size) {
            std::uint64_t block;
            std::memcpy(&block, bytes.data() + i, sizeof block);
            if (block & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= size) break;
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Utf8Sequence sequence = NextUtf8Sequence(bytes.substr(i));
        if (!sequence.valid) return i;
        i += sequence.length;
    }
    return size;
}

// `bytes` with each malformed sequence replaced by U+FFFD; `firstInvalid` is where the
// first one starts.
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

std::string DecodeUtf16LE(std::string_view body) {
    const std::size_t units = (body.size() + 1) / 2;
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto low = static_cast<unsigned char>(body[2 * i]);
        // An odd last byte is a unit by itself with a zero high byte.
        const auto high = 2 * i + 1 < body.size() ? static_cast<unsigned char>(body[2 * i + 1]) : 0;
        return static_cast<char32_t>(low | (high << 8));
    };
    // At most three bytes per unit: a pair of units gives four.
    std::string out;
    platform::ReserveLargeBuffer(out, units * 3);
    out.resize(units * 3);
    char* o = out.data();
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unitAt(i);
        if (c == 0) break; // a zero unit ends the text
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

struct UchardetDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

// The code page uchardet names for `sample`: an iconv name, "UTF-8", or empty when it
// names none or one that iconv does not know.
std::string DetectCharset(std::string_view sample) {
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, UchardetDeleter> detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0)
        return std::string();
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    std::string charset = name ? name : "";
    // ASCII cannot be right: the text holds bytes above 7F. UTF-16 and UTF-32 come from
    // marks such as FE FF, which a source does not have: only FF FE and EF BB count.
    if (charset.empty() || charset == "ASCII" || charset.starts_with("UTF-16") ||
        charset.starts_with("UTF-32"))
        return std::string();
    if (charset == "UTF-8") return charset;
    return platform::IsKnownCharset(charset) ? charset : std::string();
}

// Text without a mark that is not UTF-8 throughout.
std::string DecodeLegacy(std::string_view body, const std::string& legacyEncoding,
                         std::size_t firstInvalid) {
    std::string charset = legacyEncoding;
    if (!charset.empty()) {
        if (!platform::IsKnownCharset(charset))
            throw ConversionError("Unknown text encoding \"" + charset + "\"");
    } else {
        // Start where the first non-ASCII byte is, so that a long ASCII opening does not
        // leave the detector with nothing to judge.
        std::size_t start = 0;
        while (start < firstInvalid && static_cast<unsigned char>(body[start]) < 0x80)
            ++start;
        charset = DetectCharset(DetectionSample(body, start));
        // UTF-8 with a few damaged sequences, such as a file cut in mid-character.
        if (charset == "UTF-8") return ReplaceInvalidUtf8(body, firstInvalid);
        if (charset.empty()) charset = SystemAnsiCodePage();
    }
    try {
        return platform::ConvertText(body, charset, "UTF-8", kReplacement);
    } catch (const std::invalid_argument&) {
        throw ConversionError("Unknown text encoding \"" + charset + "\"");
    }
}

// Decodes `body`; when `owned` holds the same bytes and they are the text unchanged, the
// text is moved out of it instead of copied.
std::string Decode(SourceEncoding encoding, std::string_view body, std::string* owned,
                   const std::string& legacyEncoding) {
    if (encoding == seUtf16LE) return DecodeUtf16LE(body);
    const std::size_t firstInvalid = FindInvalidUtf8(body);
    if (firstInvalid == body.size()) return owned ? std::move(*owned) : std::string(body);
    if (encoding == seUtf8) return ReplaceInvalidUtf8(body, firstInvalid);
    return DecodeLegacy(body, legacyEncoding, firstInvalid);
}

std::string AsciiLower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

SourceBytes ReadSourceBytes(const std::string& path) {
    try {
        const platform::FileDescriptor file = platform::OpenRegularFile(path);
        const std::string name = platform::ExpandFileName(path);
        const std::optional<platform::FileStatus> status = platform::StatOpenFile(file.Get());
        const std::int64_t size = status ? status->size : 0;
        SourceBytes result;
        platform::ReserveLargeBuffer(result.body, static_cast<std::size_t>(size) + 1);
        char head[3] = {};
        const std::size_t headSize = platform::ReadUpTo(file, head, 2, name);
        std::size_t markSize = 0;
        if (headSize == 2 && head[0] == '\xFF' && head[1] == '\xFE') {
            result.encoding = seUtf16LE;
            markSize = 2;
        } else if (headSize == 2 && head[0] == '\xEF' && head[1] == '\xBB') {
            result.encoding = seUtf8;
            markSize = 2 + platform::ReadUpTo(file, head + 2, 1, name); // skipped unexamined
        } else {
            result.body.assign(head, headSize);
            markSize = headSize;
        }
        platform::ReadToEnd(file, result.body, size - static_cast<std::int64_t>(markSize), name);
        return result;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding) {
    return Decode(source.encoding, source.body, nullptr, legacyEncoding);
}

std::string ReadSourceText(const std::string& path, const std::string& legacyEncoding) {
    SourceBytes source = ReadSourceBytes(path);
    return Decode(source.encoding, source.body, &source.body, legacyEncoding);
}

std::string AnsiCodePageForLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::size_t languageEnd = std::min(locale.find_first_of("_.@"), locale.size());
    const std::string language = AsciiLower(locale.substr(0, languageEnd));
    std::string territory;
    if (languageEnd < locale.size() && locale[languageEnd] == '_') {
        const std::string_view rest = locale.substr(languageEnd + 1);
        territory = AsciiLower(rest.substr(0, std::min(rest.find_first_of(".@"), rest.size())));
    }
    const std::size_t at = locale.find('@');
    const std::string modifier =
        at == std::string_view::npos ? "" : AsciiLower(locale.substr(at + 1));

    const auto among = [](const std::string& value, std::initializer_list<std::string_view> list) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    if (language == "zh") {
        // Traditional script where it is written; Simplified elsewhere, as Windows does,
        // rather than a Western code page for Chinese text.
        return among(territory, {"tw", "hk", "mo"}) ? "BIG5-HKSCS" : "GB18030";
    }
    if (language == "ja") return "CP932";
    if (language == "ko") return "CP949";
    if (language == "sr" && modifier == "latin")
        return "CP1250"; // Serbian in Latin letters uses the Central European page
    if (among(language, {"ru", "uk", "be", "bg", "sr"})) return "CP1251";
    if (among(language, {"cs", "pl", "hu", "sk", "sl", "hr", "ro"})) return "CP1250";
    if (language == "el") return "CP1253";
    if (language == "tr") return "CP1254";
    if (language == "he") return "CP1255";
    if (among(language, {"ar", "fa"})) return "CP1256";
    if (among(language, {"et", "lv", "lt"})) return "CP1257";
    if (language == "vi") return "CP1258";
    if (language == "th") return "CP874";
    return "CP1252";
}

bool IsKnownTextEncoding(const std::string& name) {
    return platform::IsKnownCharset(name);
}

std::string SystemAnsiCodePage() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return AnsiCodePageForLocale(value);
    }
    return AnsiCodePageForLocale("C");
}

} // namespace folivane::engine
