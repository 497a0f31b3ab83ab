// Well-formed BCP 47 language tags (RFC 5646, section 2.1) and their canonical letter case.
#include "LanguageTag.h"

#include "AsciiText.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace folivane::engine {
namespace {

// The grandfathered tags that do not follow the langtag grammar, in canonical case. The
// regular grandfathered tags (zh-min-nan, art-lojban, ...) follow it.
constexpr std::string_view kIrregularTags[] = {
    "en-GB-oed", "i-ami", "i-bnn",     "i-default", "i-enochian", "i-hak",
    "i-klingon", "i-lux", "i-mingo",   "i-navajo",  "i-pwn",      "i-tao",
    "i-tay",     "i-tsu", "sgn-BE-FR", "sgn-BE-NL", "sgn-CH-DE"};

bool AllAlpha(std::string_view s) {
    return std::ranges::all_of(s, IsAsciiLetter);
}
bool AllDigits(std::string_view s) {
    return std::ranges::all_of(s, IsAsciiDigit);
}

// The subtags of `tag`, lower case, or nothing when one is empty, longer than 8 characters or
// holds anything but ASCII letters and digits.
std::optional<std::vector<std::string>> Subtags(std::string_view tag) {
    std::vector<std::string> subtags;
    while (true) {
        const std::size_t dash = std::min(tag.find('-'), tag.size());
        const std::string_view subtag = tag.substr(0, dash);
        if (subtag.empty() || subtag.size() > 8 ||
            !std::ranges::all_of(subtag, IsAsciiLetterOrDigit))
            return std::nullopt;
        subtags.push_back(AsciiLowered(subtag));
        if (dash == tag.size()) return subtags;
        tag.remove_prefix(dash + 1);
    }
}

bool IsVariant(std::string_view s) {
    return (s.size() >= 5 && s.size() <= 8) || (s.size() == 4 && IsAsciiDigit(s[0]));
}

} // namespace

std::optional<std::string> NormalizeLanguageTag(std::string_view given) {
    // Locale names write the region after "_" (en_US, zh_tw); users copy them from their
    // system, and they mean what the tag with "-" means.
    std::string tag(given);
    std::ranges::replace(tag, '_', '-');
    for (const std::string_view irregular : kIrregularTags)
        if (EqualsIgnoringAsciiCase(tag, irregular)) return std::string(irregular);
    std::optional<std::vector<std::string>> parsed = Subtags(tag);
    if (!parsed) return std::nullopt;
    std::vector<std::string>& subtags = *parsed;
    const std::size_t count = subtags.size();
    std::size_t i = 0;
    const auto next = [&]() {
        return i < count ? std::string_view(subtags[i]) : std::string_view();
    };

    if (next() != "x") {
        const std::string_view language = next();
        if (language.size() < 2 || !AllAlpha(language)) return std::nullopt;
        ++i;
        if (language.size() <= 3) // up to three extended language subtags
            for (int extlang = 0; extlang < 3 && next().size() == 3 && AllAlpha(next()); ++extlang)
                ++i;
        if (next().size() == 4 && AllAlpha(next())) { // script, title case
            subtags[i][0] = AsciiUpper(subtags[i][0]);
            ++i;
        }
        if (next().size() == 2 && AllAlpha(next())) { // region, upper case
            std::ranges::transform(subtags[i], subtags[i].begin(), AsciiUpper);
            ++i;
        } else if (next().size() == 3 && AllDigits(next())) {
            ++i;
        }
        const auto at = [&](std::size_t k) {
            return subtags.begin() + static_cast<std::ptrdiff_t>(k);
        };
        for (const std::size_t firstVariant = i; IsVariant(next()); ++i)
            if (std::find(at(firstVariant), at(i), subtags[i]) != at(i)) return std::nullopt;
        std::string singletons;
        while (next().size() == 1 && next() != "x") { // extension: singleton, then 2 to 8 each
            if (singletons.find(next()[0]) != std::string::npos) return std::nullopt;
            singletons += next()[0];
            const std::size_t singleton = i++;
            while (next().size() >= 2)
                ++i;
            if (i == singleton + 1) return std::nullopt;
        }
    }
    if (next() == "x") { // private use: x, then 1 to 8 each, to the end
        if (i + 1 == count) return std::nullopt;
        i = count;
    }
    if (i != count) return std::nullopt;

    std::string canonical = subtags[0];
    for (std::size_t k = 1; k < count; ++k)
        canonical += "-" + subtags[k];
    return canonical;
}

Failure LanguageTagProblem(std::string_view tag) {
    return {.kind = FailureKind::LanguageTagInvalid, .value = std::string(tag)};
}

} // namespace folivane::engine
