// Annotations read by their words: a target in 「」 and what is said of it, a range's start or
// end, a block's start or end, or a word of its own.
#include "Annotation.h"

#include "Numerals.h"

#include "engine/text/CodePoints.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace folivane::engine {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kOpenQuote = "「";
constexpr std::string_view kCloseQuote = "」";
constexpr std::string_view kBlockStart = "ここから";
constexpr std::string_view kBlockEnd = "ここで";
constexpr std::string_view kLeft = "左に";

constexpr std::pair<std::string_view, TextStyle> kStyleNames[] = {
    {"傍点", TextStyle::Sesame},
    {"白ゴマ傍点", TextStyle::WhiteSesame},
    {"丸傍点", TextStyle::Dot},
    {"白丸傍点", TextStyle::WhiteDot},
    {"黒三角傍点", TextStyle::Triangle},
    {"白三角傍点", TextStyle::WhiteTriangle},
    {"二重丸傍点", TextStyle::DoubleCircle},
    {"蛇の目傍点", TextStyle::Bullseye},
    {"ばつ傍点", TextStyle::Cross},
    {"傍線", TextStyle::Line},
    {"二重傍線", TextStyle::DoubleLine},
    {"鎖線", TextStyle::ChainLine},
    {"破線", TextStyle::DashedLine},
    {"点線", TextStyle::DottedLine},
    {"波線", TextStyle::WavyLine},
    {"太字", TextStyle::Bold},
    {"斜体", TextStyle::Italic},
    {"縦中横", TextStyle::Upright},
    {"上付き小文字", TextStyle::Superscript},
    {"下付き小文字", TextStyle::Subscript},
};

constexpr std::string_view kHeadingNames[] = {"大見出し", "中見出し", "小見出し"};

constexpr std::string_view kKaeriten[] = {"レ", "一", "二",   "三",   "四",   "五",  "上",
                                          "中", "下", "甲",   "乙",   "丙",   "丁",  "天",
                                          "地", "人", "一レ", "上レ", "甲レ", "天レ"};

constexpr std::string_view kPageBreaks[] = {"改ページ", "改丁", "改見開き", "改段"};

// Takes `prefix` off `text` when it begins with it.
bool Take(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::optional<TextStyle> StyleNamed(std::string_view name) {
    for (const auto& [words, style] : kStyleNames)
        if (name == words) return style;
    return std::nullopt;
}

unsigned HeadingLevel(std::string_view name) {
    // A heading that runs on into its text (同行) or stands in a window beside it (窓) is a
    // heading of its level all the same.
    if (!Take(name, "同行")) Take(name, "窓");
    for (std::size_t i = 0; i < std::size(kHeadingNames); ++i)
        if (name == kHeadingNames[i]) return static_cast<unsigned>(i + 1);
    return 0;
}

// Takes the word of a range's or block's end off `text`: 終わり, or 終り as some typists write.
bool TakeEnd(std::string_view& text) {
    for (const std::string_view end : {"終わり"sv, "終り"sv})
        if (text.ends_with(end)) {
            text.remove_suffix(end.size());
            return true;
        }
    return false;
}

// A count of characters as typists write it: ２, 10, 三; taken off the front of `text`.
std::optional<unsigned> TakeCount(std::string_view& text) {
    unsigned value = 0;
    std::size_t digits = 0;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::string_view next = rest;
        const char32_t c = TakeCodePoint(next);
        if (c >= U'0' && c <= U'9')
            value = value * 10 + static_cast<unsigned>(c - U'0');
        else if (c >= U'０' && c <= U'９')
            value = value * 10 + static_cast<unsigned>(c - U'０');
        else
            break;
        if (++digits > 3) return std::nullopt;
        rest = next;
    }
    if (digits == 0) {
        // Kanji numerals up to the word that follows them.
        std::size_t end = 0;
        for (std::string_view scan = rest; !scan.empty();) {
            std::string_view next = scan;
            const char32_t c = TakeCodePoint(next);
            if (std::u32string_view(U"〇一二三四五六七八九十百").find(c) ==
                std::u32string_view::npos)
                break;
            end += scan.size() - next.size();
            scan = next;
        }
        value = KanjiNumeralValue(rest.substr(0, end));
        if (value == 0) return std::nullopt;
        rest.remove_prefix(end);
    }
    text = rest;
    return std::min(value, kMaxIndent);
}

// "N<word>" as a whole, for a count N.
std::optional<unsigned> CountThen(std::string_view text, std::string_view word) {
    const std::optional<unsigned> count = TakeCount(text);
    return count && text == word ? count : std::nullopt;
}

// 「target」<said>: the target and what is said of it, the last 」 closing the target so that
// a target may hold notes with quotes of their own.
std::optional<std::pair<std::string_view, std::string_view>> TargetForm(std::string_view body) {
    if (!body.starts_with(kOpenQuote)) return std::nullopt;
    const std::size_t close = body.rfind(kCloseQuote);
    if (close == std::string_view::npos || close < kOpenQuote.size()) return std::nullopt;
    return std::pair{body.substr(kOpenQuote.size(), close - kOpenQuote.size()),
                     body.substr(close + kCloseQuote.size())};
}

Annotation OfTarget(std::string_view body) {
    Annotation annotation;
    if (body.find("」は底本では「") != std::string_view::npos ||
        (body.starts_with("ルビの「") && body.ends_with("」はママ")))
        return {.kind = AnnotationKind::Editorial};
    const auto form = TargetForm(body);
    if (!form) return annotation;
    auto [target, said] = *form;
    if (target.empty()) return annotation;
    annotation.target = target;
    if (said == "はママ") {
        annotation.kind = AnnotationKind::Editorial;
        return annotation;
    }
    annotation.left = Take(said, "の左に");
    if (!annotation.left && !Take(said, "に") && !Take(said, "は")) return annotation;
    if (const std::optional<TextStyle> style = StyleNamed(said)) {
        annotation.kind = AnnotationKind::Style;
        annotation.style = *style;
    } else if (const unsigned level = HeadingLevel(said); level != 0 && !annotation.left) {
        annotation.kind = AnnotationKind::Heading;
        annotation.level = level;
    }
    return annotation;
}

// ここから…, ここで…終わり: blocks of lines.
Annotation OfBlock(std::string_view words) {
    Annotation annotation;
    if (Take(words, kBlockEnd)) {
        if (!TakeEnd(words)) return annotation;
        if (words == "字下げ") annotation.kind = AnnotationKind::BlockIndentEnd;
        if (words == "地付き" || words == "字上げ")
            annotation.kind = AnnotationKind::BlockAlignEndEnd;
        if (const unsigned level = HeadingLevel(words); level != 0) {
            annotation.kind = AnnotationKind::BlockHeadingEnd;
            annotation.level = level;
        }
        annotation.left = Take(words, kLeft);
        if (const std::optional<TextStyle> style = StyleNamed(words)) {
            annotation.kind = AnnotationKind::StyleEnd;
            annotation.style = *style;
        }
        return annotation;
    }
    if (!Take(words, kBlockStart)) return annotation;
    if (const unsigned level = HeadingLevel(words); level != 0) {
        annotation.kind = AnnotationKind::BlockHeading;
        annotation.level = level;
        return annotation;
    }
    if (words == "地付き") return {.kind = AnnotationKind::BlockAlignEnd};
    if (Take(words, "地から")) {
        if (const auto count = CountThen(words, "字上げ"))
            return {.kind = AnnotationKind::BlockAlignEnd, .first = *count};
        return annotation;
    }
    // ここからN字下げ, ここからN字下げ、折り返してM字下げ, ここから改行天付き、折り返してM字下げ
    std::optional<unsigned> first;
    const std::size_t comma = words.find("、");
    const std::string_view head = words.substr(0, comma);
    first = head == "改行天付き" ? std::optional<unsigned>(0) : CountThen(head, "字下げ");
    if (!first) {
        annotation.left = Take(words, kLeft);
        if (const std::optional<TextStyle> style = StyleNamed(words)) {
            annotation.kind = AnnotationKind::StyleBegin;
            annotation.style = *style;
        }
        return annotation;
    }
    unsigned rest = *first;
    if (comma != std::string_view::npos) {
        std::string_view wrap = words.substr(comma + std::string_view("、").size());
        if (!Take(wrap, "折り返して")) return annotation;
        const std::optional<unsigned> count = CountThen(wrap, "字下げ");
        if (!count) return annotation;
        rest = *count;
    }
    return {.kind = AnnotationKind::BlockIndent, .first = *first, .rest = rest};
}

} // namespace

Annotation ClassifyAnnotation(std::string_view body) {
    if (body.starts_with(kOpenQuote) || body.starts_with("ルビの「")) return OfTarget(body);
    if (body.starts_with(kBlockStart) || body.starts_with(kBlockEnd)) return OfBlock(body);
    for (const std::string_view words : kPageBreaks)
        if (body == words) return {.kind = AnnotationKind::PageBreak};
    if (body == "本文終わり") return {.kind = AnnotationKind::Editorial};
    for (const std::string_view mark : kKaeriten)
        if (body == mark) return {.kind = AnnotationKind::Kaeriten, .text = body};
    if (body.starts_with("（") && body.ends_with("）") && body.size() > 2 * 3)
        return {.kind = AnnotationKind::Okurigana, .text = body.substr(3, body.size() - 6)};
    if (body == "地付き") return {.kind = AnnotationKind::AlignEnd};
    std::string_view words = body;
    if (Take(words, "地から")) {
        if (const auto count = CountThen(words, "字上げ"))
            return {.kind = AnnotationKind::AlignEnd, .first = *count};
        return {};
    }
    if (body == "字下げ終わり" || body == "字下げ終り")
        return {.kind = AnnotationKind::BlockIndentEnd};
    Take(words, "天から");
    if (const auto count = CountThen(words, "字下げ"))
        return {.kind = AnnotationKind::Indent, .first = *count};
    words = body;
    const bool end = TakeEnd(words);
    if (const unsigned level = HeadingLevel(words); level != 0)
        return {.kind = end ? AnnotationKind::HeadingEnd : AnnotationKind::Heading, .level = level};
    const bool left = Take(words, kLeft);
    if (const std::optional<TextStyle> style = StyleNamed(words))
        return {.kind = end ? AnnotationKind::StyleEnd : AnnotationKind::StyleBegin,
                .style = *style,
                .left = left};
    return {};
}

AnnotationCloses::AnnotationCloses(std::string_view line) {
    constexpr std::string_view kStart = "［＃";
    constexpr std::string_view kEnd = "］";
    std::vector<std::size_t> open;
    for (std::size_t at = 0; at < line.size();) {
        if (line.substr(at).starts_with(kStart)) {
            open.push_back(at);
            at += kStart.size();
        } else if (line.substr(at).starts_with(kEnd)) {
            if (!open.empty()) {
                pairs_.push_back({open.back(), at});
                open.pop_back();
            }
            at += kEnd.size();
        } else {
            ++at;
        }
    }
    std::ranges::sort(pairs_);
}

std::size_t AnnotationCloses::Of(std::size_t at) const {
    const auto found = std::ranges::lower_bound(pairs_, std::pair{at, std::size_t{0}});
    return found != pairs_.end() && found->first == at ? found->second : std::string_view::npos;
}

} // namespace folivane::engine
