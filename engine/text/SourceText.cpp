// Reading chapter text files: byte-order marks, the choice of encoding, legacy code pages.
#include "SourceText.h"

#include "AsciiText.h"
#include "CodePages.h"
#include "ConversionError.h"
#include "UnicodeText.h"

#include "platform/FileStatus.h"
#include "platform/Memory.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

// A text that is UTF-8 but for a few damaged sequences (a file cut in mid-character, one
// stray Latin-1 byte): judged over the whole sample, at most one malformed sequence per
// kCharactersPerError characters (one at least), and no more of them than well-formed
// multi-byte ones. Legacy text read as UTF-8 fails this at once: Latin-1 has no multi-byte
// sequences, and GBK or Big5 make a malformed sequence of nearly every character.
constexpr std::size_t kCharactersPerError = 1000;

bool MostlyUtf8(std::string_view body, std::size_t start, std::string_view sample) {
    // A text cut out of a larger one (split -b) may begin with up to three continuation
    // bytes and end in a cut sequence: that damage is its edges', not its own.
    if (start == 0) {
        std::size_t cut = 0;
        while (cut < 3 && cut < sample.size() &&
               (static_cast<unsigned char>(sample[cut]) & 0xC0) == 0x80)
            ++cut;
        sample.remove_prefix(cut);
    }
    if (sample.data() + sample.size() == body.data() + body.size()) {
        for (std::size_t back = 1; back <= 3 && back <= sample.size(); ++back) {
            const auto lead = static_cast<unsigned char>(sample[sample.size() - back]);
            if ((lead & 0xC0) == 0x80) continue;
            if (lead >= 0xC0 && !NextUtf8Sequence(sample.substr(sample.size() - back)).valid &&
                NextUtf8Sequence(sample.substr(sample.size() - back)).length == back)
                sample.remove_suffix(back);
            break;
        }
    }
    const Utf8Census census = Utf8CensusOf(sample);
    if (census.multiByte == 0 || census.malformed > census.multiByte) return false;
    return census.malformed <= std::max<std::size_t>(1, census.characters / kCharactersPerError);
}

// The code page of text without a mark that is not UTF-8 throughout.
std::string ChooseLegacy(std::string_view body, const std::string& legacyEncoding) {
    // Start where the first non-ASCII byte is, so that a long ASCII opening does not leave
    // the judges with nothing to judge.
    std::size_t start = 0;
    while (start < body.size() && static_cast<unsigned char>(body[start]) < 0x80)
        ++start;
    const std::string_view sample = DetectionSample(body, start);
    if (MostlyUtf8(body, start, sample)) return "UTF-8";
    if (!legacyEncoding.empty()) {
        if (!platform::IsKnownCharset(legacyEncoding))
            throw ConversionError("Unknown text encoding \"" + legacyEncoding + "\"");
        return WidenBig5(legacyEncoding);
    }
    const std::string charset = DetectCharset(sample);
    return charset.empty() ? SystemAnsiCodePage() : WidenBig5(charset);
}

// The byte-order marks, each exactly these bytes: EF BB followed by anything else is text,
// such as U+FEFB (EF BB BB). UTF-32LE's mark begins with UTF-16LE's, so it comes first.
struct Mark {
    std::string_view bytes;
    SourceEncoding encoding;
};
constexpr Mark kMarks[] = {
    {std::string_view("\xFF\xFE\x00\x00", 4), seUtf32LE},
    {std::string_view("\x00\x00\xFE\xFF", 4), seUtf32BE},
    {"\xEF\xBB\xBF", seUtf8},
    {"\xFF\xFE", seUtf16LE},
    {"\xFE\xFF", seUtf16BE},
};

// The encoding of the mark `bytes` begin with; seAnsi when there is none.
SourceEncoding MarkOf(std::string_view bytes) {
    for (const Mark& mark : kMarks)
        if (bytes.starts_with(mark.bytes)) return mark.encoding;
    return seAnsi;
}

// The encoding to read a source by, and for UTF-8 where its first malformed sequence is
// (the size when there is none), so that the text is scanned once.
struct Choice {
    std::string encoding;
    std::size_t firstInvalid = 0;
};

Choice Choose(const SourceBytes& source, const std::string& legacyEncoding,
              const std::string& forcedEncoding) {
    switch (source.encoding) {
    case seUtf16LE:
        return {"UTF-16LE"};
    case seUtf16BE:
        return {"UTF-16BE"};
    case seUtf32LE:
        return {"UTF-32LE"};
    case seUtf32BE:
        return {"UTF-32BE"};
    case seUtf8:
    case seAnsi:
        break;
    }
    if (source.encoding == seAnsi && !forcedEncoding.empty()) {
        std::string name = AsciiUppered(forcedEncoding);
        if (!platform::IsKnownCharset(name))
            throw ConversionError("Unknown text encoding \"" + forcedEncoding + "\"");
        name = WidenBig5(name);
        return {name, name == "UTF-8" ? FindInvalidUtf8(source.body) : 0};
    }
    const std::size_t firstInvalid = FindInvalidUtf8(source.body);
    if (source.encoding == seUtf8 || firstInvalid == source.body.size())
        return {"UTF-8", firstInvalid};
    return {ChooseLegacy(source.body, legacyEncoding), firstInvalid};
}

// Decodes `body` as chosen; when `owned` holds the same bytes and they are the text
// unchanged, the text is moved out of it instead of copied.
std::string DecodeAs(const Choice& choice, std::string_view body, std::string* owned) {
    const std::string& encoding = choice.encoding;
    if (encoding == "UTF-16LE" || encoding == "UTF-16BE")
        return DecodeUtf16(body, encoding == "UTF-16BE");
    if (encoding == "UTF-32LE" || encoding == "UTF-32BE")
        return DecodeUtf32(body, encoding == "UTF-32BE");
    if (encoding == "UTF-8") {
        if (choice.firstInvalid == body.size())
            return owned ? std::move(*owned) : std::string(body);
        return ReplaceInvalidUtf8(body, choice.firstInvalid);
    }
    try {
        return platform::ConvertText(body, encoding, "UTF-8", kReplacement);
    } catch (const std::invalid_argument&) {
        throw ConversionError("Unknown text encoding \"" + encoding + "\"");
    }
}

} // namespace

SourceBytes ReadSourceBytes(const std::string& path, platform::FileStatus* opened) {
    try {
        platform::FileStatus status;
        const platform::FileDescriptor file = platform::OpenRegularFile(path, &status);
        SourceBytes result;
        platform::ReserveLargeBuffer(result.body, static_cast<std::size_t>(status.size) + 1);
        // Read in one go, mark and all: a source costs two reads however small it is.
        platform::ReadToEnd(file, result.body, status.size, path);
        if (opened) *opened = status;
        result.encoding = MarkOf(result.body);
        result.body.erase(0, MarkSize(result.encoding));
        return result;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

std::string GuessSourceEncoding(const std::string& path, const std::string& legacyEncoding,
                                bool* marked) {
    try {
        platform::FileStatus status;
        const platform::FileDescriptor file = platform::OpenRegularFile(path, &status);
        const auto read = [&](std::string& into, std::size_t count) {
            const std::size_t had = into.size();
            into.resize(had + count);
            into.resize(had + platform::ReadUpTo(file, into.data() + had, count, path));
            return into.size() > had;
        };
        // Detection looks from the first byte above 7F on, at no more than this: ASCII before
        // it is passed over a block at a time, the rest of the file is never read.
        constexpr std::size_t kBlock = 1 << 20;
        SourceBytes sample;
        read(sample.body, kBlock);
        sample.encoding = MarkOf(sample.body);
        if (marked) *marked = sample.encoding != seAnsi;
        if (sample.encoding != seAnsi) return Choose(sample, legacyEncoding, "").encoding;
        const auto firstHigh = [](std::string_view bytes) {
            return std::find_if(bytes.begin(), bytes.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
                   bytes.begin();
        };
        auto high = static_cast<std::size_t>(firstHigh(sample.body));
        while (high == sample.body.size()) {
            sample.body.clear();
            if (!read(sample.body, kBlock)) return "UTF-8"; // ASCII throughout
            high = static_cast<std::size_t>(firstHigh(sample.body));
        }
        sample.body.erase(0, high);
        read(sample.body, kBlock - sample.body.size());
        return Choose(sample, legacyEncoding, "").encoding;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

std::string ChooseSourceEncoding(const SourceBytes& source, const std::string& legacyEncoding,
                                 const std::string& forcedEncoding) {
    return Choose(source, legacyEncoding, forcedEncoding).encoding;
}

std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding) {
    return DecodeAs(Choose(source, legacyEncoding, forcedEncoding), source.body, nullptr);
}

std::string DecodeSource(SourceBytes&& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding) {
    return DecodeAs(Choose(source, legacyEncoding, forcedEncoding), source.body, &source.body);
}

std::size_t MarkSize(SourceEncoding encoding) {
    for (const Mark& mark : kMarks)
        if (mark.encoding == encoding) return mark.bytes.size();
    return 0;
}

std::string ReadSourceText(const std::string& path, const std::string& legacyEncoding,
                           const std::string& forcedEncoding) {
    return DecodeSource(ReadSourceBytes(path), legacyEncoding, forcedEncoding);
}

} // namespace folivane::engine
