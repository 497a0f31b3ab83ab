// Code pages judged from the text, checked against the CJK double-byte pages it may pair up as,
// and for short texts taken from the book or the locale.
#include "LegacyCodePage.h"

#include "AsciiText.h"
#include "CodePages.h"

#include "platform/TextConversion.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <uchardet/uchardet.h>

namespace folivane::engine {
namespace {

struct UchardetDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

// The code page uchardet names for `sample`: an iconv name, "UTF-8", or empty when it names
// none, one that iconv does not know, or UTF-16 or UTF-32 (those come from marks such as FE FF,
// which a sample has not).
std::string DetectCharset(std::string_view sample) {
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, UchardetDeleter> detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0)
        return std::string();
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    std::string charset = name ? name : "";
    // ASCII cannot be right either: the sample holds bytes above 7F.
    if (charset == "UTF-8") return charset;
    if (charset.empty() || charset == "ASCII" || !IsCodePage(charset)) return std::string();
    return platform::IsKnownCharset(charset) ? SupersetCodePage(charset) : std::string();
}

// The CJK pages whose characters take two bytes (some more), each with the rows its common
// characters stand in, by which the bytes of a text are told apart when several read it whole.
enum class Page { Gb18030, Big5, ShiftJis, EucJp, Uhc };
struct DoubleBytePage {
    Page page;
    const char* name;
};
constexpr DoubleBytePage kDoubleBytePages[] = {{Page::Gb18030, "GB18030"},
                                               {Page::Big5, "BIG5-HKSCS"},
                                               {Page::ShiftJis, "CP932"},
                                               {Page::EucJp, "EUC-JP"},
                                               {Page::Uhc, "CP949"}};

unsigned ByteAt(std::string_view bytes, std::size_t i) {
    return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
}

// The length of the character that begins with the byte above 7F at `i`.
std::size_t CharacterLength(Page page, std::string_view bytes, std::size_t i) {
    const unsigned lead = ByteAt(bytes, i);
    switch (page) {
    case Page::Gb18030: // four bytes when a digit follows the lead
        return ByteAt(bytes, i + 1) >= 0x30 && ByteAt(bytes, i + 1) <= 0x39 ? 4 : 2;
    case Page::ShiftJis: // A1-DF: half-width katakana of one byte
        return lead >= 0xA1 && lead <= 0xDF ? 1 : 2;
    case Page::EucJp: // 8F: a character of JIS X 0212 in three bytes
        return lead == 0x8F ? 3 : 2;
    default:
        return 2;
    }
}

// Whether the two-byte character lead, trail is in the rows of common characters: punctuation,
// full-width forms, kana or hangul, and the first level of ideographs, as each standard orders
// them by frequency.
bool InCommonRows(Page page, unsigned lead, unsigned trail) {
    switch (page) {
    case Page::Gb18030:
        return trail >= 0xA1 && (lead == 0xA1 || lead == 0xA3 || (lead >= 0xB0 && lead <= 0xD7));
    case Page::Big5:
        return lead >= 0xA1 && lead <= 0xC6;
    case Page::ShiftJis:
        return lead <= 0x83 || (lead >= 0x88 && lead <= 0x98);
    case Page::EucJp:
        return lead == 0xA1 || lead == 0xA4 || lead == 0xA5 || (lead >= 0xB0 && lead <= 0xCF);
    case Page::Uhc:
        return trail >= 0xA1 && (lead == 0xA1 || lead == 0xA3 || (lead >= 0xB0 && lead <= 0xC8));
    }
    return false;
}

// Whether every byte of `sample` decodes in `page`.
bool ReadsWhole(std::string_view sample, const std::string& page) {
    try {
        // FF is never part of UTF-8, so each one in the result stands for a byte that failed.
        return platform::ConvertText(sample, page, "UTF-8", "\xFF").find('\xFF') ==
               std::string::npos;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

// The double-byte page `sample` reads whole as, of several the one with the largest share of
// characters in its common rows, the locale's first on a tie; empty when none.
std::string DoubleBytePageOf(std::string_view sample) {
    const std::string locale = SystemAnsiCodePage();
    std::vector<DoubleBytePage> order(std::begin(kDoubleBytePages), std::end(kDoubleBytePages));
    std::stable_partition(order.begin(), order.end(),
                          [&](const DoubleBytePage& page) { return page.name == locale; });
    std::string best;
    std::size_t bestCommon = 0;
    std::size_t bestCharacters = 1;
    for (const DoubleBytePage& page : order) {
        std::size_t common = 0;
        std::size_t characters = 0;
        for (std::size_t i = 0; i < sample.size();) {
            const unsigned lead = ByteAt(sample, i);
            if (lead < 0x80) {
                ++i;
                continue;
            }
            const std::size_t length = CharacterLength(page.page, sample, i);
            ++characters;
            if (length == 2 && InCommonRows(page.page, lead, ByteAt(sample, i + 1))) ++common;
            i += length;
        }
        if (characters == 0) continue;
        const bool better = best.empty() || common * bestCharacters > bestCommon * characters;
        if (better && ReadsWhole(sample, page.name)) {
            best = page.name;
            bestCommon = common;
            bestCharacters = characters;
        }
    }
    return best;
}

bool IsDoubleBytePage(const std::string& name) {
    const std::string upper = AsciiUppered(name);
    for (const std::string_view mark :
         {"GB", "BIG5", "JIS", "EUC", "UHC", "KSC", "HZ", "2022", "932", "936", "949", "950"})
        if (upper.find(mark) != std::string::npos) return true;
    return false;
}

// Most of the bytes that are not ASCII white space are above 7F: CJK text, or Greek or
// Cyrillic in a single-byte page.
bool MostlyHigh(std::string_view sample) {
    std::size_t high = 0;
    std::size_t shown = 0;
    for (const char c : sample) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n') continue;
        ++shown;
        if (byte >= 0x80) ++high;
    }
    return high * 3 >= shown * 2;
}

// The judge's view of one sample: what the detector says and what the bytes pair up as, each
// worked out once and only when asked.
class Sample {
public:
    explicit Sample(std::string_view bytes) : bytes_(bytes) {}

    const std::string& Detected() {
        if (!detected_) detected_ = DetectCharset(bytes_);
        return *detected_;
    }
    const std::string& PairsUpAs() {
        if (!pairs_) pairs_ = DoubleBytePageOf(bytes_);
        return *pairs_;
    }
    bool Plausible(const std::string& page) {
        return !IsCodePage(page) || IsDoubleBytePage(page) || !MostlyHigh(bytes_) ||
               PairsUpAs().empty();
    }
    bool ReadsWholeAs(const std::string& page) { return ReadsWhole(bytes_, page); }
    std::size_t HighBytes() const {
        return static_cast<std::size_t>(std::count_if(bytes_.begin(), bytes_.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        }));
    }

private:
    std::string_view bytes_;
    std::optional<std::string> detected_;
    std::optional<std::string> pairs_;
};

} // namespace

EncodingJudgement JudgeCodePage(std::string_view bytes, const BookCodePageQuery& bookQuery) {
    Sample sample(bytes);
    if (sample.HighBytes() >= kBytesToJudgeAlone) {
        if (!sample.Detected().empty() && sample.Plausible(sample.Detected()))
            return {sample.Detected(), EncodingBasis::Text};
        if (!sample.PairsUpAs().empty()) return {sample.PairsUpAs(), EncodingBasis::Text};
    }
    if (const std::string bookPage = bookQuery ? SupersetCodePage(bookQuery()) : std::string();
        !bookPage.empty() && sample.ReadsWholeAs(bookPage))
        return {bookPage, EncodingBasis::Book};
    const std::string locale = SystemAnsiCodePage();
    if (sample.ReadsWholeAs(locale) && sample.Plausible(locale))
        return {locale, EncodingBasis::Locale};
    if (!sample.Detected().empty() && sample.Plausible(sample.Detected()))
        return {sample.Detected(), EncodingBasis::Guess};
    if (!sample.PairsUpAs().empty()) return {sample.PairsUpAs(), EncodingBasis::Guess};
    return {locale, EncodingBasis::Guess};
}

bool IsCodePage(const std::string& encoding) {
    const std::string upper = AsciiUppered(encoding);
    return !upper.empty() && !upper.starts_with("UTF") && !upper.starts_with("UCS") &&
           !upper.starts_with("UNICODE");
}

std::string BookCodePage(const std::vector<std::string>& pages) {
    std::string best;
    std::size_t bestCount = 0;
    for (const std::string& page : pages) {
        if (!IsCodePage(page)) continue;
        const auto count = static_cast<std::size_t>(std::count(pages.begin(), pages.end(), page));
        if (count > bestCount) {
            best = page;
            bestCount = count;
        }
    }
    return best;
}

} // namespace folivane::engine
