// Reading the date, translator and language lines of headers and colophons.
#include "HeaderFacts.h"

#include "Notation.h"

#include "engine/text/AsciiText.h"
#include "engine/text/CalendarDate.h"
#include "engine/text/LanguageNames.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <initializer_list>

namespace folivane::engine {
namespace {

// The header ends within this many lines, where archives put it.
constexpr std::size_t kHeaderLines = 60;
// A translator's line in an opening is a name and 訳, not a sentence.
constexpr std::size_t kMaxTranslatorLine = 60;
constexpr std::size_t kOpeningLines = 6;

// The value after one of `labels` at the start of `line`, in any letter case; empty when none.
std::string_view Labelled(std::string_view line, std::initializer_list<std::string_view> labels) {
    line = TrimSpace(line);
    for (const std::string_view label : labels)
        if (line.size() > label.size() &&
            EqualsIgnoringAsciiCase(line.substr(0, label.size()), label))
            return TrimSpace(line.substr(label.size()));
    return {};
}

bool IsStartLine(std::string_view line) {
    line = TrimSpace(line);
    if (!line.starts_with("***")) return false;
    line = TrimSpace(line.substr(3));
    return line.size() > 9 && EqualsIgnoringAsciiCase(line.substr(0, 9), "start of ");
}

} // namespace

HeaderFacts HeaderFactsOf(std::string_view text) {
    HeaderFacts facts;
    std::size_t count = 0;
    for (const LineSpan& span : TextLines(text)) {
        const std::string_view line = span.In(text);
        if (++count > kHeaderLines || IsStartLine(line)) break;
        if (std::string_view value = Labelled(line, {"Release date:", "Posting date:", "Release:"});
            facts.date.empty() && !value.empty())
            facts.date = BookDateOf(value);
        if (std::string_view value =
                Labelled(line, {"Translator:", "Translators:", "Translated by ",
                                "\xE8\xAF\x91\xE8\x80\x85\xEF\xBC\x9A",   // 译者：
                                "\xE8\xAD\xAF\xE8\x80\x85\xEF\xBC\x9A",   // 譯者：
                                "\xE7\xBF\xBB\xE8\xA8\xB3\xEF\xBC\x9A"}); // 翻訳：
            facts.translator.empty() && !value.empty())
            facts.translator = std::string(value);
        if (std::string_view value = Labelled(line, {"Language:"});
            facts.language.empty() && !value.empty())
            facts.language = LanguageTagOfName(value);
    }
    return facts;
}

HeaderFacts NotationFactsOf(std::string_view opening, std::string_view colophon) {
    constexpr std::string_view kTranslated = "\xE8\xA8\xB3";       // 訳
    constexpr std::string_view kMade = "\xE4\xBD\x9C\xE6\x88\x90"; // 作成
    HeaderFacts facts;
    std::size_t count = 0;
    for (const LineSpan& span : TextLines(opening)) {
        const std::string plain = PlainNotationText(span.In(opening));
        const std::string_view line = TrimSpace(plain);
        if (line.empty()) continue;
        if (++count > kOpeningLines) break;
        if (count > 1 && line.size() > kTranslated.size() && line.size() <= kMaxTranslatorLine &&
            line.ends_with(kTranslated)) {
            facts.translator =
                std::string(TrimSpace(line.substr(0, line.size() - kTranslated.size())));
            break;
        }
    }
    for (const LineSpan& span : TextLines(colophon)) {
        const std::string_view line = span.In(colophon);
        if (line.find(kMade) == std::string_view::npos) continue;
        if (std::string date = BookDateOf(line); !date.empty()) {
            facts.date = std::move(date);
            break;
        }
    }
    return facts;
}

} // namespace folivane::engine
