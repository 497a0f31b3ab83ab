// Recognising the built-in headings by hand: a few character tests per line, no regex engine.
#include "BuiltInHeadings.h"

#include "Numerals.h"

#include "engine/text/AsciiText.h"
#include "engine/text/CodePoints.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace folivane::engine {
namespace {

// The characters built-in headings begin with; lines that begin otherwise are turned away.
constexpr std::u32string_view kFirstCharacters = U"第卷序楔引前后後尾终終完番CcVvBbPpEeIiAa";

constexpr std::u32string_view kNumerals =
    U"0123456789０１２３４５６７８９〇零一二三四五六七八九十百千万萬两兩"
    U"壹贰貳叁參肆伍陆陸柒捌玖拾佰仟";
constexpr std::u32string_view kChapterMarks = U"章回节節集话話幕";
constexpr std::u32string_view kVolumeMarks = U"卷部";

// What may stand between a heading's number or word and its title, besides white space.
constexpr std::u32string_view kSeparatorMarks = U"：:、.．·・—–-_~～|｜";
constexpr std::u32string_view kSentenceEnds = U"。！？…!?.．";

// Longer words first: 序 would otherwise take the first character of 序章.
constexpr std::string_view kWordHeadings[] = {"完本感言", "序章", "序言", "楔子", "引子",
                                              "前言",     "后记", "後記", "尾声", "尾聲",
                                              "终章",     "終章", "序"};

// English heading words, and the letter cases each is recognised in.
enum Case : unsigned { Lower = 1, Upper = 2, Title = 4, Mixed = 8 };
struct EnglishWord {
    std::string_view word;
    HeadingKind kind;
    bool numbered;
    unsigned cases;
};
constexpr EnglishWord kEnglishWords[] = {
    {"chapter", HeadingKind::Chapter, true, Lower | Upper | Title},
    {"volume", HeadingKind::Volume, true, Upper | Title},
    {"book", HeadingKind::Volume, true, Upper | Title},
    {"part", HeadingKind::Volume, true, Upper | Title},
    {"prologue", HeadingKind::Chapter, false, Lower | Upper | Title | Mixed},
    {"epilogue", HeadingKind::Chapter, false, Lower | Upper | Title | Mixed},
    {"interlude", HeadingKind::Chapter, false, Lower | Upper | Title | Mixed},
    {"afterword", HeadingKind::Chapter, false, Lower | Upper | Title | Mixed},
};

constexpr std::string_view kUnitWords[] = {"one", "two",   "three", "four", "five",
                                           "six", "seven", "eight", "nine"};
constexpr std::string_view kTeenWords[] = {"ten",      "eleven",  "twelve",  "thirteen",
                                           "fourteen", "fifteen", "sixteen", "seventeen",
                                           "eighteen", "nineteen"};
constexpr std::string_view kTensWords[] = {"twenty", "thirty",  "forty",  "fifty",
                                           "sixty",  "seventy", "eighty", "ninety"};

// The letter case of a word of ASCII letters.
unsigned CaseOf(std::string_view word) {
    if (std::ranges::all_of(word, IsAsciiLower)) return Lower;
    if (std::ranges::none_of(word, IsAsciiLower)) return Upper;
    return !IsAsciiLower(word[0]) && std::ranges::all_of(word.substr(1), IsAsciiLower) ? Title
                                                                                       : Mixed;
}

// The letters `text` begins with.
std::string_view LeadingLetters(std::string_view text) {
    const auto end = std::ranges::find_if_not(text, IsAsciiLetter);
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

// A UTF-8 reader over what is left of a line.
class Reader {
public:
    explicit Reader(std::string_view text) : rest_(text) {}

    bool AtEnd() const { return rest_.empty(); }
    std::string_view Rest() const { return rest_; }
    char32_t Peek() const {
        std::string_view copy = rest_;
        return TakeCodePoint(copy);
    }
    bool StartsWith(std::string_view word) const { return rest_.starts_with(word); }
    // Takes `word` when the rest begins with it.
    bool Take(std::string_view word) {
        if (!rest_.starts_with(word)) return false;
        rest_.remove_prefix(word.size());
        return true;
    }
    bool TakeOneOf(std::u32string_view set) { return TakeWhile(set, 1) == 1; }
    // Takes up to `most` characters while they are among `set`; how many it took.
    std::size_t TakeWhile(std::u32string_view set, std::size_t most = SIZE_MAX) {
        std::size_t taken = 0;
        while (taken < most && !rest_.empty()) {
            std::string_view next = rest_;
            if (set.find(TakeCodePoint(next)) == std::u32string_view::npos) break;
            rest_ = next;
            ++taken;
        }
        return taken;
    }
    std::size_t TakeSpaces() {
        std::size_t taken = 0;
        while (!rest_.empty() && IsTextSpace(Peek())) {
            TakeCodePoint(rest_);
            ++taken;
        }
        return taken;
    }

private:
    std::string_view rest_;
};

// Words of a title, for telling it from a sentence: each run of ASCII letters and digits is one,
// and so is each other character that is not white space (a Han character is about a word).
std::size_t TitleWords(std::string_view title) {
    std::size_t words = 0;
    bool inWord = false;
    while (!title.empty()) {
        const char32_t c = TakeCodePoint(title);
        const bool wordCharacter = c < 0x80 && IsAsciiLetterOrDigit(static_cast<char>(c));
        if (wordCharacter) {
            if (!inWord) ++words;
        } else if (c >= 0x80 && !IsTextSpace(c)) {
            ++words;
        }
        inWord = wordCharacter;
    }
    return words;
}

bool GoesOnIntoSentence(std::string_view title) {
    return kSentenceEnds.find(LastCodePoint(title)) != std::u32string_view::npos &&
           TitleWords(title) > kLongestSentenceTitle;
}

// What ends a heading after its number or word: nothing, or a title that is no sentence.
// `needSeparator`: the title must be set off by white space or a separator mark. An English
// title set off by white space alone must not begin in lower case: "Part 2 of the story".
HeadingKind Titled(Reader reader, HeadingKind kind, bool needSeparator, bool english) {
    const std::size_t spaces = reader.TakeSpaces();
    const std::size_t marks = reader.TakeWhile(kSeparatorMarks);
    reader.TakeSpaces();
    if (reader.AtEnd()) return kind;
    if (needSeparator && spaces + marks == 0) return HeadingKind::None;
    const std::string_view title = reader.Rest();
    if (english && marks == 0 && IsAsciiLower(title[0])) return HeadingKind::None;
    return GoesOnIntoSentence(title) ? HeadingKind::None : kind;
}

HeadingKind Chinese(Reader reader) {
    if (reader.Take("第")) {
        reader.TakeSpaces();
        if (reader.TakeWhile(kNumerals) == 0) return HeadingKind::None;
        reader.TakeSpaces();
        if (std::ranges::any_of(kNotHeadingWords,
                                [&](std::string_view word) { return reader.StartsWith(word); }))
            return HeadingKind::None;
        if (reader.TakeOneOf(kChapterMarks))
            return Titled(reader, HeadingKind::Chapter, false, false);
        if (reader.TakeOneOf(kVolumeMarks))
            return Titled(reader, HeadingKind::Volume, false, false);
        return HeadingKind::None;
    }
    if (reader.Take("卷")) {
        reader.TakeSpaces();
        if (reader.TakeWhile(kNumerals) == 0) return HeadingKind::None;
        return Titled(reader, HeadingKind::Volume, false, false);
    }
    if (reader.Take("番外")) {
        reader.Take("篇");
        // 番外一 and 番外二 number the extras; anything else is a title set off from the word.
        const bool numbered = !reader.AtEnd() && kNumerals.find(reader.Peek()) != kNumerals.npos;
        return Titled(reader, HeadingKind::Chapter, !numbered, false);
    }
    for (const std::string_view word : kWordHeadings)
        if (reader.Take(word)) return Titled(reader, HeadingKind::Chapter, true, false);
    return HeadingKind::None;
}

bool IsAmong(std::string_view word, const auto& words) {
    return std::ranges::any_of(
        words, [&](std::string_view known) { return EqualsIgnoringAsciiCase(word, known); });
}

// Takes the number of an English heading from the start of `text`: digits, a Roman numeral, or
// a number word from one to ninety-nine ("Twenty-One", "twenty one").
bool TakeEnglishNumber(std::string_view& text) {
    if (!text.empty() && IsAsciiDigit(text[0])) {
        text.remove_prefix(
            static_cast<std::size_t>(std::ranges::find_if_not(text, IsAsciiDigit) - text.begin()));
        return true;
    }
    const std::string_view word = LeadingLetters(text);
    if (IsAmong(word, kTensWords)) {
        text.remove_prefix(word.size());
        if (text.size() > 1 && (text[0] == '-' || text[0] == ' ')) {
            const std::string_view unit = LeadingLetters(text.substr(1));
            if (IsAmong(unit, kUnitWords)) text.remove_prefix(1 + unit.size());
        }
        return true;
    }
    if (IsAmong(word, kUnitWords) || IsAmong(word, kTeenWords) || RomanNumeralValue(word) != 0) {
        text.remove_prefix(word.size());
        return true;
    }
    return false;
}

HeadingKind English(std::string_view line) {
    const std::string_view word = LeadingLetters(line);
    const auto known = std::ranges::find_if(kEnglishWords, [&](const EnglishWord& english) {
        return EqualsIgnoringAsciiCase(word, english.word) && (english.cases & CaseOf(word)) != 0;
    });
    if (known == std::end(kEnglishWords)) return HeadingKind::None;
    std::string_view rest = line.substr(word.size());
    if (known->numbered) {
        Reader spaces(rest);
        if (spaces.TakeSpaces() == 0) return HeadingKind::None;
        rest = spaces.Rest();
        if (!TakeEnglishNumber(rest)) return HeadingKind::None;
        // "Chapter 12b" and "Chapter 1st" are not numbered headings.
        if (!rest.empty() && IsAsciiLetterOrDigit(rest[0])) return HeadingKind::None;
    }
    return Titled(Reader(rest), known->kind, true, true);
}

} // namespace

bool MayBeginBuiltInHeading(std::string_view trimmed) {
    return kFirstCharacters.find(Reader(trimmed).Peek()) != std::u32string_view::npos;
}

HeadingKind ClassifyBuiltIn(std::string_view trimmed) {
    if (static_cast<unsigned char>(trimmed[0]) < 0x80) return English(trimmed);
    return Chinese(Reader(trimmed));
}

bool IsNumberedBuiltIn(std::string_view trimmed) {
    if (trimmed.empty() || ClassifyBuiltIn(trimmed) == HeadingKind::None) return false;
    if (static_cast<unsigned char>(trimmed[0]) < 0x80) {
        const std::string_view word = LeadingLetters(trimmed);
        return std::ranges::any_of(kEnglishWords, [&](const EnglishWord& english) {
            return english.numbered && EqualsIgnoringAsciiCase(word, english.word);
        });
    }
    Reader reader(trimmed);
    // 第 and 卷 headings hold a numeral; 番外 one only when one follows it.
    if (reader.Take("第") || reader.Take("卷")) return true;
    if (!reader.Take("番外")) return false;
    reader.Take("篇");
    return !reader.AtEnd() && kNumerals.find(reader.Peek()) != kNumerals.npos;
}

} // namespace folivane::engine
