// OpenCC's standard configurations, fed only what it reads safely.
#include "ChineseScriptConverter.h"

#include "CodePoints.h"
#include "ConversionError.h"
#include "UnicodeText.h"

#include <algorithm>
#include <opencc/Exception.hpp>
#include <opencc/SimpleConverter.hpp>
#include <stdexcept>

namespace folivane::engine {
namespace {

struct Route {
    ChineseScript target;
    std::string_view fromSimplified;
    std::string_view fromTraditional;
};
// Taiwan from Simplified takes Taiwan's words as well (s2twp); from Traditional only its
// character forms (t2tw), since the words are already the writer's. OpenCC has no word list
// for Hong Kong, whose written words are mostly the mainland's in Traditional characters
// (軟件, not 軟體), so Hong Kong gets its character forms alone.
constexpr Route kRoutes[] = {
    {ChineseScript::Keep, "", ""},
    {ChineseScript::Simplified, "t2s", "t2s"},
    {ChineseScript::Traditional, "s2t", ""},
    {ChineseScript::Taiwan, "s2twp", "t2tw"},
    {ChineseScript::HongKong, "s2hk", "t2hk"},
};

// OpenCC builds its whole segmentation of a text in memory, several times the text's size;
// a novel goes through in pieces of about this size, cut at line ends, where no word runs on.
constexpr std::size_t kPiece = 256 << 10;

std::string_view NextPiece(std::string_view clean) {
    if (clean.size() <= kPiece) return clean;
    const std::size_t lineEnd = clean.rfind('\n', kPiece);
    if (lineEnd != std::string_view::npos && lineEnd >= kPiece / 2)
        return clean.substr(0, lineEnd + 1);
    // One very long line: cut after a sentence's or clause's end, which no word spans, or
    // failing that between two characters.
    const std::string_view window = clean.substr(0, kPiece);
    std::size_t cut = 0;
    for (const std::string_view stop : {"。", "，", "！", "？", "；", " "}) {
        const std::size_t at = window.rfind(stop);
        if (at != std::string_view::npos) cut = std::max(cut, at + stop.size());
    }
    if (cut < kPiece / 2) cut = LastCodePointStart(clean.substr(0, kPiece + 1));
    return clean.substr(0, cut);
}

} // namespace

class ChineseScriptConverter::Opencc {
public:
    explicit Opencc(const std::string& file) : converter_(Load(file)) {}

    // Well-formed UTF-8 without U+0000 only: OpenCC stops at a zero byte, dropping the rest,
    // throws on a malformed sequence and reads past the end of a cut one.
    void ConvertClean(std::string_view clean, std::string& out) const {
        while (!clean.empty()) {
            const std::string_view piece = NextPiece(clean);
            out += converter_->Convert(std::string(piece));
            clean.remove_prefix(piece.size());
        }
    }

private:
    // OpenCC's converter owns a raw pointer and its copy would free it twice: never copied.
    static std::unique_ptr<const opencc::SimpleConverter> Load(const std::string& file) {
        try {
            return std::make_unique<const opencc::SimpleConverter>(file);
        } catch (const opencc::Exception& e) {
            throw ConversionError(
                {.kind = FailureKind::ChineseScriptNotLoaded, .path = file, .detail = e.what()});
        } catch (const std::runtime_error& e) {
            throw ConversionError(
                {.kind = FailureKind::ChineseScriptNotLoaded, .path = file, .detail = e.what()});
        }
    }

    std::unique_ptr<const opencc::SimpleConverter> converter_;
};

std::string_view OpenccConfiguration(ChineseScript target, ChineseForm from) {
    for (const Route& route : kRoutes)
        if (route.target == target)
            return from == ChineseForm::Simplified ? route.fromSimplified : route.fromTraditional;
    return {};
}

ChineseScriptConverter::ChineseScriptConverter(ChineseScript target, ChineseForm from) {
    const std::string_view configuration = OpenccConfiguration(target, from);
    if (configuration.empty()) return;
    // The full path: OpenCC would otherwise take a file of that name from the working folder.
    opencc_ = std::make_unique<Opencc>(std::string(FOLIVANE_OPENCC_DATA "/") +
                                       std::string(configuration) + ".json");
}

ChineseScriptConverter::~ChineseScriptConverter() = default;
ChineseScriptConverter::ChineseScriptConverter(ChineseScriptConverter&&) noexcept = default;
ChineseScriptConverter&
ChineseScriptConverter::operator=(ChineseScriptConverter&&) noexcept = default;

std::string ChineseScriptConverter::Convert(std::string_view utf8) const {
    if (!opencc_) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 16);
    while (!utf8.empty()) {
        const std::size_t invalid = FindInvalidUtf8(utf8);
        const std::size_t clean = std::min(utf8.substr(0, invalid).find('\0'), invalid);
        opencc_->ConvertClean(utf8.substr(0, clean), out);
        utf8.remove_prefix(clean);
        if (utf8.empty()) break;
        // A zero byte or a malformed sequence goes through as it is.
        const std::size_t length = utf8[0] == '\0' ? 1 : NextUtf8Sequence(utf8).length;
        out.append(utf8.substr(0, length));
        utf8.remove_prefix(length);
    }
    return out;
}

} // namespace folivane::engine
