// Reading chapter text files: byte-order marks, the choice of encoding, legacy code pages.
#include "SourceText.h"

#include "AsciiText.h"
#include "CodePages.h"
#include "ConversionError.h"
#include "LegacyCodePage.h"
#include "SideTask.h"
#include "UnicodeText.h"

#include "platform/CodePageTable.h"
#include "platform/FileStatus.h"
#include "platform/Memory.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

namespace folivane::engine {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// uchardet judges by the bytes above 7F and reads only a few MB a second: it names the
// same code page from 8 KiB of them as from a whole MiB (CJK and European pages alike),
// so the sample ends after this many, or after kDetectionSample bytes of mostly-ASCII text.
constexpr std::size_t kDetectionHighBytes = 64 << 10;
constexpr std::size_t kDetectionSample = 1 << 20;

// The sample the judges see: from `start`, until it holds kDetectionHighBytes bytes above 7F,
// at most kDetectionSample bytes, so that no character is cut (`whole`: the body is the whole
// text, not the first part of it).
std::string_view DetectionSample(std::string_view body, std::size_t start, bool whole) {
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
    // Bytes below 30 (white space, line ends, most punctuation) are never part of a character
    // of UTF-8 or the CJK pages; a cut sample ends after the last of them, if any.
    if (i < body.size() || !whole) {
        std::size_t cut = i;
        while (cut > start && static_cast<unsigned char>(body[cut - 1]) >= 0x30)
            --cut;
        if (cut > start) i = cut;
    }
    return body.substr(start, i - start);
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

// The encoding of text without a mark that is not UTF-8 throughout: UTF-8 but for a few
// damaged sequences, or a code page.
EncodingJudgement ChooseLegacy(std::string_view body, bool whole,
                               const BookCodePageQuery& bookPage) {
    // Start where the first non-ASCII byte is, so that a long ASCII opening does not leave
    // the judges with nothing to judge.
    std::size_t start = 0;
    while (start < body.size() && static_cast<unsigned char>(body[start]) < 0x80)
        ++start;
    const std::string_view sample = DetectionSample(body, start, whole);
    if (MostlyUtf8(body, start, sample)) return {"UTF-8", EncodingBasis::Text};
    return JudgeCodePage(sample, bookPage);
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

// UTF-16 without a mark shows in the zero bytes of its first MiB.
constexpr std::size_t kUtf16Sample = 1 << 20;

// The encoding to read a source by, and for UTF-8 where its first malformed sequence is
// (the size when there is none), so that the text is scanned once. `whole`: the body is the
// whole text, not the first part of it.
struct Choice {
    EncodingJudgement judgement;
    std::size_t firstInvalid = 0;
};

// A source's encoding when its mark or the user decides it: nothing when neither does.
std::string ByMarkOrChoice(const SourceBytes& source, const EncodingRule& rule,
                           EncodingBasis& basis) {
    basis = EncodingBasis::Mark;
    switch (source.encoding) {
    case seUtf16LE:
        return "UTF-16LE";
    case seUtf16BE:
        return "UTF-16BE";
    case seUtf32LE:
        return "UTF-32LE";
    case seUtf32BE:
        return "UTF-32BE";
    case seUtf8:
        return "UTF-8";
    case seAnsi:
        break;
    }
    basis = EncodingBasis::Chosen;
    if (rule.chosen.empty()) return std::string();
    const std::string name = AsciiUppered(rule.chosen);
    if (!platform::IsKnownCharset(name))
        throw ConversionError({.kind = FailureKind::UnknownEncoding, .value = rule.chosen});
    return SupersetCodePage(name);
}

// UTF-16 without a mark, judged from the first MiB of the body; nothing when it is not.
std::string ByZeroBytes(std::string_view body) {
    switch (UnmarkedUtf16Order(body.substr(0, kUtf16Sample))) {
    case Utf16Order::LittleEndian:
        return "UTF-16LE";
    case Utf16Order::BigEndian:
        return "UTF-16BE";
    case Utf16Order::None:
        break;
    }
    return std::string();
}

// UTF-8, or the code page of the text.
Choice ByText(std::string_view body, bool whole, const BookCodePageQuery& bookPage) {
    const std::size_t firstInvalid = FindInvalidUtf8(body);
    if (firstInvalid == body.size()) return {{"UTF-8", EncodingBasis::Text}, firstInvalid};
    return {ChooseLegacy(body, whole, bookPage), firstInvalid};
}

Choice Choose(const SourceBytes& source, const EncodingRule& rule, bool whole) {
    EncodingBasis basis = EncodingBasis::Mark;
    if (std::string decided = ByMarkOrChoice(source, rule, basis); !decided.empty()) {
        const std::size_t firstInvalid = decided == "UTF-8" ? FindInvalidUtf8(source.body) : 0;
        return {{std::move(decided), basis}, firstInvalid};
    }
    if (std::string utf16 = ByZeroBytes(source.body); !utf16.empty())
        return {{std::move(utf16), EncodingBasis::Text}};
    return ByText(source.body, whole, rule.bookPage);
}

// True when `encoding` names `page`, given in capitals.
bool IsPage(std::string_view encoding, std::string_view page) {
    return std::ranges::equal(page, encoding, [](char a, char b) {
        return a == (b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : b);
    });
}

// Code pages in which a line feed is never part of another character and that carry no
// state from one line to the next: a text in one of them decodes the same when it is cut
// after any line feed. (CP1258 is not among them: iconv holds back a letter for the accent
// that may follow.)
bool DecodesLineByLine(std::string_view encoding) {
    static constexpr std::string_view kPages[] = {
        "GB18030", "GBK",       "GB2312", "CP936",  "BIG5",   "BIG5-HKSCS", "CP950",
        "CP932",   "SHIFT_JIS", "EUC-JP", "EUC-KR", "CP949",  "CP874",      "CP1250",
        "CP1251",  "CP1252",    "CP1253", "CP1254", "CP1255", "CP1256",     "CP1257"};
    return std::ranges::any_of(kPages,
                               [&](std::string_view page) { return IsPage(encoding, page); });
}

// Code pages of DecodesLineByLine whose characters iconv decodes alone as within the text, so
// that a table of them gives iconv's text. Not CP949: glibc takes a pair it refuses there
// before reporting it, and what follows decodes differently in pieces.
bool DecodesByTable(std::string_view encoding) {
    return DecodesLineByLine(encoding) && !IsPage(encoding, "CP949");
}

// A large text in a legacy code page is decoded by a table read from iconv where its
// characters decode alone as within the text: iconv's text in under half of iconv's time, on
// one core (two halves at once came out slower, both writing fresh memory). Otherwise a large
// text is decoded by iconv in two halves at once, cut after a line feed; the text is the same.
std::string DecodeLegacy(std::string_view body, const std::string& encoding,
                         std::size_t* undecodable) {
    // Reading a table costs about as much as iconv decoding 300 KiB.
    constexpr std::size_t kTableFrom = 512u << 10;
    constexpr std::size_t kHalvedFrom = 1u << 20;
    const bool byLines = DecodesLineByLine(encoding);
    if (body.size() >= kTableFrom && DecodesByTable(encoding))
        if (const std::optional<platform::CodePageTable> table =
                platform::CodePageTable::Read(encoding)) {
            std::string text;
            table->Decode(body, kReplacement, text, undecodable);
            return text;
        }
    const auto decode = [&encoding](std::string_view part, std::size_t* replaced) {
        return platform::ConvertText(part, encoding, "UTF-8", kReplacement, replaced);
    };
    const std::size_t cut = body.size() >= kHalvedFrom && byLines ? body.find('\n', body.size() / 2)
                                                                  : std::string_view::npos;
    if (cut == std::string_view::npos || cut + 1 == body.size()) return decode(body, undecodable);
    std::size_t secondReplaced = 0;
    SideTask<std::string> second([&] { return decode(body.substr(cut + 1), &secondReplaced); },
                                 true);
    std::string text = decode(body.substr(0, cut + 1), undecodable);
    text += second.Get();
    if (undecodable) *undecodable += secondReplaced;
    return text;
}

// Decodes `body` as chosen; when `owned` holds the same bytes and they are the text
// unchanged, the text is moved out of it instead of copied. `undecodable`, when given,
// receives how many bytes of a code page did not decode.
std::string DecodeAs(const Choice& choice, std::string_view body, std::string* owned,
                     std::size_t* undecodable = nullptr) {
    if (undecodable) *undecodable = 0;
    const std::string& encoding = choice.judgement.encoding;
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
        return DecodeLegacy(body, encoding, undecodable);
    } catch (const std::invalid_argument&) {
        throw ConversionError({.kind = FailureKind::UnknownEncoding, .value = encoding});
    }
}

} // namespace

SourceBytes ReadSourceBytes(const std::string& path, platform::FileStatus* opened,
                            const std::function<void(std::size_t)>& progress) {
    try {
        platform::FileStatus status;
        const platform::FileDescriptor file = platform::OpenRegularFile(path, &status);
        SourceBytes result;
        platform::ReserveLargeBuffer(result.body, static_cast<std::size_t>(status.size) + 1);
        // Read in one go, mark and all: a source costs two reads however small it is.
        platform::ReadAsOpened(file, result.body, status.size, path, progress);
        if (opened) *opened = status;
        result.encoding = MarkOf(result.body);
        result.body.erase(0, MarkSize(result.encoding));
        return result;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(FileFailure(error));
    }
}

EncodingJudgement GuessSourceEncoding(const std::string& path, const EncodingRule& rule) {
    try {
        platform::FileStatus status;
        const platform::FileDescriptor file = platform::OpenRegularFile(path, &status);
        bool ended = false;
        const auto read = [&](std::string& into, std::size_t count) {
            const std::size_t had = into.size();
            into.resize(had + count);
            into.resize(had + platform::ReadUpTo(file, into.data() + had, count, path));
            ended = into.size() < had + count;
            return into.size() > had;
        };
        // The judges look at the first block, for a mark and UTF-16, then from the first byte
        // above 7F on at no more than a block: ASCII before it is passed over a block at a
        // time, the rest of the file is never read.
        constexpr std::size_t kBlock = 1 << 20;
        static_assert(kBlock >= kUtf16Sample && kBlock >= kDetectionSample);
        SourceBytes sample;
        read(sample.body, kBlock);
        sample.encoding = MarkOf(sample.body);
        EncodingBasis basis = EncodingBasis::Mark;
        if (std::string decided = ByMarkOrChoice(sample, rule, basis); !decided.empty())
            return {std::move(decided), basis};
        if (std::string utf16 = ByZeroBytes(sample.body); !utf16.empty())
            return {std::move(utf16), EncodingBasis::Text};
        const auto firstHigh = [](std::string_view bytes) {
            return std::find_if(bytes.begin(), bytes.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
                   bytes.begin();
        };
        auto high = static_cast<std::size_t>(firstHigh(sample.body));
        while (high == sample.body.size()) {
            sample.body.clear();
            if (ended || !read(sample.body, kBlock))
                return {"UTF-8", EncodingBasis::Text}; // ASCII throughout
            high = static_cast<std::size_t>(firstHigh(sample.body));
        }
        sample.body.erase(0, high);
        if (!ended) read(sample.body, kBlock - sample.body.size());
        return ByText(sample.body, ended, rule.bookPage).judgement;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(FileFailure(error));
    }
}

EncodingJudgement JudgeSourceEncoding(const SourceBytes& source, const EncodingRule& rule) {
    return Choose(source, rule, true).judgement;
}

std::string DecodeSource(SourceBytes&& source, const EncodingRule& rule, EncodingJudgement* judged,
                         std::size_t* undecodable) {
    const Choice choice = Choose(source, rule, true);
    if (judged) *judged = choice.judgement;
    return DecodeAs(choice, source.body, &source.body, undecodable);
}

std::string DecodeSource(const SourceBytes& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding) {
    const EncodingRule rule{ChosenEncoding(legacyEncoding, forcedEncoding), {}};
    return DecodeAs(Choose(source, rule, true), source.body, nullptr);
}

std::string DecodeSource(SourceBytes&& source, const std::string& legacyEncoding,
                         const std::string& forcedEncoding) {
    return DecodeSource(std::move(source),
                        EncodingRule{ChosenEncoding(legacyEncoding, forcedEncoding), {}});
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
