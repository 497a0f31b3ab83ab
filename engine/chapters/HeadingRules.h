// Telling heading lines (chapters, volumes) from the text around them.
#pragma once

#include "HeadingKind.h"

#include "engine/text/ConversionError.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace folivane::engine {

// The longest line, in characters (code points) after trimming, that can be a heading.
constexpr std::size_t kDefaultMaxHeadingLength = 40;

// A user's heading pattern that does not compile (ChapterPatternInvalid,
// VolumePatternInvalid) or needs too much work to match (ChapterPatternTooCostly, ...; their
// path is left for the caller, which knows the file). In English, e.g.
//   The chapter pattern "第(" does not compile: missing closing parenthesis at offset 2
class HeadingPatternError : public ConversionError {
public:
    using ConversionError::ConversionError;
};

// The rules that make a line a heading. A line is one when, trimmed (TrimSpace), it is
// not empty, holds at most maxLength characters, and a rule matches it; Volume wins when both
// a chapter and a volume rule match. The built-in rules (ClassifyBuiltIn) know Chinese,
// Japanese and English headings. A HeadingRules object may be copied and moved, and
// used from one thread at a time: matching a user pattern writes to buffers it owns.
class HeadingRules {
public:
    static HeadingRules BuiltIn(std::size_t maxLength = kDefaultMaxHeadingLength);
    // The user's own patterns (PCRE2 syntax, UTF-8, Unicode character classes) replace every
    // built-in rule. Each is searched for anywhere in the trimmed line, so anchor it with ^ and
    // $ to match the whole line; an empty pattern is no rule of that kind. Raises
    // HeadingPatternError when a pattern does not compile. The work of matching is bounded,
    // per line and over all lines: Classify raises HeadingPatternError naming the pattern and
    // the line when a pattern needs more (a pathological one such as (a+)+$), rather than
    // hang or silently take a line for no heading.
    static HeadingRules Custom(const std::string& chapterPattern, const std::string& volumePattern,
                               std::size_t maxLength = kDefaultMaxHeadingLength);

    HeadingRules(const HeadingRules& other);
    HeadingRules& operator=(const HeadingRules& other);
    HeadingRules(HeadingRules&&) noexcept;
    HeadingRules& operator=(HeadingRules&&) noexcept;
    ~HeadingRules();

    // `line`: one line of UTF-8 text without its line end.
    HeadingKind Classify(std::string_view line) const;
    std::size_t MaxLength() const { return maxLength_; }
    // Whether these are the built-in rules, which also know headings by their order.
    bool IsBuiltIn() const { return builtIn_; }

private:
    class Pattern; // a compiled user pattern with its own match buffers

    explicit HeadingRules(std::size_t maxLength);

    std::size_t maxLength_;
    bool builtIn_ = false;
    std::unique_ptr<Pattern> chapter_;
    std::unique_ptr<Pattern> volume_;
};

// The name a heading line gives its chapter: trimmed, each inner run of white space
// (IsTextSpace) written as one ASCII space.
std::string HeadingName(std::string_view line);

} // namespace folivane::engine
