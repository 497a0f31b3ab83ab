// OpenCC's standard configurations, their dictionaries read into tables (ScriptTables) that
// find words faster than its own converter.
#include "ChineseScriptConverter.h"

#include "ScriptTables.h"
#include "UnicodeText.h"

#include <algorithm>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

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

// A text longer than this is converted in pieces of about this size, cut at line ends, on
// all cores at once.
constexpr std::size_t kParallelPiece = 1 << 20;

// `text` with each word of `dictionary` replaced, longest first from the start, as one of
// OpenCC's conversions does it; characters of no word are copied.
void Apply(const ScriptDictionary& dictionary, std::string_view text, std::string& out) {
    std::size_t copied = 0; // the characters of no word before `at` are copied at once
    std::size_t at = 0;
    while (at < text.size()) {
        const ScriptDictionary::Match match = dictionary.LongestPrefix(text.substr(at));
        if (match.length == 0) {
            at += Utf8Length(text[at]);
            continue;
        }
        out.append(text.substr(copied, at - copied));
        out += match.value;
        copied = at += match.length;
    }
    out.append(text.substr(copied));
}

// Pieces of `text` of about `size` bytes, each but the last ending at a line end: no word of
// a dictionary holds a line end, so each piece converts alone as it does within the whole.
std::vector<std::string_view> LinePieces(std::string_view text, std::size_t size) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        std::size_t end = text.size();
        if (text.size() > size + size / 2) {
            const std::size_t lineEnd = text.find('\n', size);
            if (lineEnd != std::string_view::npos) end = lineEnd + 1;
        }
        pieces.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return pieces;
}

} // namespace

// OpenCC's converter for a configuration, its dictionaries read into tables
// (ScriptDictionary) and its steps taken as it takes them.
class ChineseScriptConverter::Opencc {
public:
    explicit Opencc(const std::string& file) : tables_(LoadScriptTables(file)) {}

    // Well-formed UTF-8 only. As OpenCC's converter does: the text is cut into segments,
    // each word of more than one character of the segmentation's dictionary a segment of its
    // own and the text between such words one segment; each conversion of the chain in turn
    // then replaces words within a segment, never across two.
    void ConvertClean(std::string_view clean, std::string& out) const {
        if (tables_.fused) return ConvertFused(clean, out);
        std::size_t segment = 0;
        std::size_t at = 0;
        while (at < clean.size()) {
            const std::size_t character = Utf8Length(clean[at]);
            const std::size_t word = tables_.segmentation.LongestPrefix(clean.substr(at)).length;
            if (word <= character) {
                at += character;
                continue;
            }
            std::string converted;
            Apply(tables_.chain.front(), clean.substr(segment, at - segment), converted);
            FinishSegment(converted, out);
            Apply(tables_.chain.front(), clean.substr(at, word), converted);
            FinishSegment(converted, out);
            segment = at += word;
        }
        std::string converted;
        Apply(tables_.chain.front(), clean.substr(segment), converted);
        FinishSegment(converted, out);
    }

private:
    // When the first conversion's long words are the segmentation's, its longest words are
    // where the segments are cut: both are made in one pass.
    void ConvertFused(std::string_view clean, std::string& out) const {
        std::string segment;
        while (!clean.empty()) {
            const std::size_t character = Utf8Length(clean[0]);
            const ScriptDictionary::Match match = tables_.chain.front().LongestPrefix(clean);
            if (match.length > character) {
                FinishSegment(segment, out);
                segment = match.value;
                FinishSegment(segment, out);
            } else if (match.length > 0) {
                segment += match.value;
            } else {
                segment.append(clean.substr(0, character));
            }
            clean.remove_prefix(std::max(match.length, character));
        }
        FinishSegment(segment, out);
    }

    // The rest of the chain over one segment, which the first conversion made; appended to
    // `out` and cleared.
    void FinishSegment(std::string& segment, std::string& out) const {
        std::string next;
        for (std::size_t step = 1; step < tables_.chain.size(); ++step) {
            next.clear();
            Apply(tables_.chain[step], segment, next);
            segment.swap(next);
        }
        out += segment;
        segment.clear();
    }

    ScriptTables tables_;
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
    opencc_ = std::make_shared<const Opencc>(std::string(FOLIVANE_OPENCC_DATA "/") +
                                             std::string(configuration) + ".json");
}

ChineseScriptConverter::~ChineseScriptConverter() = default;
ChineseScriptConverter::ChineseScriptConverter(const ChineseScriptConverter&) = default;
ChineseScriptConverter& ChineseScriptConverter::operator=(const ChineseScriptConverter&) = default;
ChineseScriptConverter::ChineseScriptConverter(ChineseScriptConverter&&) noexcept = default;
ChineseScriptConverter&
ChineseScriptConverter::operator=(ChineseScriptConverter&&) noexcept = default;

std::string ChineseScriptConverter::Convert(std::string_view utf8) const {
    if (!opencc_) return std::string(utf8);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (cores == 1 || utf8.size() < 2 * kParallelPiece) return ConvertPiece(utf8);
    const std::vector<std::string_view> pieces = LinePieces(utf8, kParallelPiece);
    std::vector<std::future<std::string>> converted;
    std::string out;
    // At most one piece per core waits converted ahead of the one being joined.
    for (std::size_t next = 0, joined = 0; joined < pieces.size(); ++joined) {
        for (; next < pieces.size() && next < joined + cores; ++next)
            converted.push_back(std::async(
                std::launch::async, [this, piece = pieces[next]] { return ConvertPiece(piece); }));
        out += converted[joined].get();
        converted[joined] = {};
    }
    return out;
}

std::string ChineseScriptConverter::ConvertPiece(std::string_view utf8) const {
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
