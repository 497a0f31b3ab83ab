// Fuzz target: heading rules, built-in or a user's pattern, and the heading finder over any
// text. Every heading found is a whole line of the text that the rules call a heading of that
// kind (or, by the built-in rules, a number line or a Japanese part, known by their order),
// named as HeadingName names it, in order; a pattern that does not compile is an error of its
// own, never a crash or a hang.
#include "TextLines.h"

#include "engine/chapters/HeadingFinder.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/chapters/HeadingSequences.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine = folivane::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte: the longest heading (1 to 64 characters) and whether the first line of
    // the rest is a chapter pattern (bit 7) or the rest is all text for the built-in rules.
    const std::size_t maxLength = 1 + (data[0] & 0x3F);
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::optional<engine::HeadingRules> rules;
    if (data[0] & 0x80) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string pattern(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        try {
            rules = engine::HeadingRules::Custom(pattern, data[0] & 0x40 ? pattern : "", maxLength);
        } catch (const engine::HeadingPatternError& error) {
            if (std::string_view(error.what()).find("pattern") == std::string_view::npos)
                __builtin_trap();
            return 0;
        }
    } else {
        rules = engine::HeadingRules::BuiltIn(maxLength);
    }

    // A user's pattern may need too much work on some line: refused by name, never a crash;
    // the built-in rules never are.
    const auto refused = [&](const engine::HeadingPatternError& error) {
        if (!(data[0] & 0x80) ||
            std::string_view(error.what()).find("needs too much work") == std::string_view::npos)
            __builtin_trap();
        return 0;
    };
    std::vector<engine::HeadingLine> headings;
    try {
        headings = engine::FindHeadings(text, *rules);
    } catch (const engine::HeadingPatternError& error) {
        return refused(error);
    }
    // The lines of the text by their first byte, as an independent reader sees them.
    std::vector<std::size_t> lineStarts;
    for (const std::string_view line : folivane::fuzz::TextLines(text))
        lineStarts.push_back(static_cast<std::size_t>(line.data() - text.data()));
    std::size_t previous = 0;
    for (std::size_t k = 0; k < headings.size(); ++k) {
        const engine::HeadingLine& heading = headings[k];
        if (k > 0 && heading.begin <= previous) __builtin_trap();
        previous = heading.begin;
        if (heading.end > text.size() || heading.begin > heading.end) __builtin_trap();
        if (!std::binary_search(lineStarts.begin(), lineStarts.end(), heading.begin))
            __builtin_trap();
        const std::string_view line = text.substr(heading.begin, heading.end - heading.begin);
        if (line.find_first_of("\r\n") != std::string_view::npos) __builtin_trap();
        if (heading.end < text.size() && text[heading.end] != '\r' && text[heading.end] != '\n')
            __builtin_trap();
        try {
            const std::string_view trimmed = engine::TrimSpace(line);
            const bool ordered =
                rules->IsBuiltIn() && (heading.kind == engine::HeadingKind::Chapter
                                           ? engine::ParseNumberLine(trimmed).has_value()
                                           : engine::JapanesePartRank(trimmed) != 0);
            if (heading.kind == engine::HeadingKind::None ||
                (rules->Classify(line) != heading.kind && !ordered))
                __builtin_trap();
        } catch (const engine::HeadingPatternError& error) {
            return refused(error);
        }
        if (heading.name != engine::HeadingName(line)) __builtin_trap();
    }
    return 0;
}
