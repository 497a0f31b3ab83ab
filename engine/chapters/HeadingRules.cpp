// Heading rules: the checks every line passes first, then the built-in rules or PCRE2 patterns.
#include "HeadingRules.h"

#include "BuiltInHeadings.h"

#include "engine/text/CodePoints.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace folivane::engine {
namespace {

// Bounds on the work of matching, so that a pattern such as (a+)+$ is refused rather than
// backtrack for hours. Ordinary heading patterns need a few hundred steps a line: each line is
// tried within kQuickLimit, and one that needs more again within kMatchLimit, which at most
// kCostlyLines lines of a book may do. Beyond either the pattern is refused, so that a match
// is never silently missed: a book of 100,000 lines costs at most a few seconds.
constexpr std::uint32_t kQuickLimit = 5000;
constexpr std::uint32_t kMatchLimit = 100000;
constexpr std::uint32_t kDepthLimit = 10000;
constexpr std::size_t kCostlyLines = 1000;

struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};

} // namespace

// One compiled pattern with the match context that bounds its work, the match buffer it
// writes to and the count of costly lines: the reason a HeadingRules object serves one thread
// at a time.
class HeadingRules::Pattern {
public:
    Pattern(const std::string& source, bool volume) : source_(source), volume_(volume) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(source.data()), source.size(),
                                  PCRE2_UTF | PCRE2_UCP, &error, &offset, nullptr));
        if (!code_) {
            std::array<PCRE2_UCHAR, 256> message{};
            pcre2_get_error_message(error, message.data(), message.size());
            const std::size_t characters = CountCodePoints(
                std::string_view(source).substr(0, std::min(offset, source.size())));
            throw HeadingPatternError({.kind = volume ? FailureKind::VolumePatternInvalid
                                                      : FailureKind::ChapterPatternInvalid,
                                       .value = source,
                                       .detail = reinterpret_cast<const char*>(message.data()),
                                       .number = static_cast<std::int64_t>(characters)});
        }
        Prepare();
    }

    Pattern(const Pattern& other)
        : source_(other.source_), volume_(other.volume_),
          code_(pcre2_code_copy(other.code_.get())) {
        if (!code_) throw std::bad_alloc();
        Prepare();
    }
    Pattern& operator=(const Pattern&) = delete;

    // Whether the pattern matches somewhere in `text`; text that is not UTF-8 is no match.
    // Raises HeadingPatternError when the work limits are reached.
    bool Matches(std::string_view text) {
        int result = Match(text, kQuickLimit);
        if (result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT) {
            if (++costlyLines_ > kCostlyLines) throw TooMuchWork(text, true);
            result = Match(text, kMatchLimit);
        }
        if (result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT ||
            result == PCRE2_ERROR_HEAPLIMIT)
            throw TooMuchWork(text, false);
        if (result == PCRE2_ERROR_NOMEMORY) throw std::bad_alloc();
        return result >= 0;
    }

private:
    int Match(std::string_view text, std::uint32_t limit) {
        pcre2_set_match_limit(context_.get(), limit);
        return pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0,
                           0, matchData_.get(), context_.get());
    }

    // `often`: the pattern was costly on many lines, `line` one of them; otherwise on `line`.
    HeadingPatternError TooMuchWork(std::string_view line, bool often) const {
        using K = FailureKind;
        const FailureKind kind =
            often ? (volume_ ? K::VolumePatternOftenCostly : K::ChapterPatternOftenCostly)
                  : (volume_ ? K::VolumePatternTooCostly : K::ChapterPatternTooCostly);
        return HeadingPatternError({.kind = kind, .value = source_, .excerpt = std::string(line)});
    }

    void Prepare() {
        // Matching runs without JIT where JIT is not available; it is only slower.
        pcre2_jit_compile(code_.get(), PCRE2_JIT_COMPLETE);
        context_.reset(pcre2_match_context_create(nullptr));
        matchData_.reset(pcre2_match_data_create(1, nullptr));
        if (!context_ || !matchData_) throw std::bad_alloc();
        pcre2_set_depth_limit(context_.get(), kDepthLimit);
    }

    std::string source_;
    bool volume_; // a volume pattern, not a chapter one
    std::size_t costlyLines_ = 0;
    std::unique_ptr<pcre2_code, CodeFree> code_;
    std::unique_ptr<pcre2_match_context, MatchContextFree> context_;
    std::unique_ptr<pcre2_match_data, MatchDataFree> matchData_;
};

HeadingRules::HeadingRules(std::size_t maxLength) : maxLength_(maxLength) {}

HeadingRules::HeadingRules(const HeadingRules& other)
    : maxLength_(other.maxLength_), builtIn_(other.builtIn_),
      chapter_(other.chapter_ ? std::make_unique<Pattern>(*other.chapter_) : nullptr),
      volume_(other.volume_ ? std::make_unique<Pattern>(*other.volume_) : nullptr) {}

HeadingRules& HeadingRules::operator=(const HeadingRules& other) {
    if (this != &other) *this = HeadingRules(other);
    return *this;
}

HeadingRules::HeadingRules(HeadingRules&&) noexcept = default;
HeadingRules& HeadingRules::operator=(HeadingRules&&) noexcept = default;
HeadingRules::~HeadingRules() = default;

HeadingRules HeadingRules::BuiltIn(std::size_t maxLength) {
    HeadingRules rules(maxLength);
    rules.builtIn_ = true;
    return rules;
}

HeadingRules HeadingRules::Custom(const std::string& chapterPattern,
                                  const std::string& volumePattern, std::size_t maxLength) {
    HeadingRules rules(maxLength);
    if (!chapterPattern.empty()) rules.chapter_ = std::make_unique<Pattern>(chapterPattern, false);
    if (!volumePattern.empty()) rules.volume_ = std::make_unique<Pattern>(volumePattern, true);
    return rules;
}

HeadingKind HeadingRules::Classify(std::string_view line) const {
    const std::string_view trimmed = TrimSpace(line);
    if (trimmed.empty()) return HeadingKind::None;
    // A character takes at most four bytes: longer lines are too long without counting.
    if ((trimmed.size() + 3) / 4 > maxLength_) return HeadingKind::None;
    if (builtIn_ && !MayBeginBuiltInHeading(trimmed)) return HeadingKind::None;
    if (CountCodePoints(trimmed) > maxLength_) return HeadingKind::None;
    if (builtIn_) return ClassifyBuiltIn(trimmed);
    if (volume_ && volume_->Matches(trimmed)) return HeadingKind::Volume;
    if (chapter_ && chapter_->Matches(trimmed)) return HeadingKind::Chapter;
    return HeadingKind::None;
}

std::string HeadingName(std::string_view line) {
    std::string_view rest = TrimSpace(line);
    std::string name;
    name.reserve(rest.size());
    while (!rest.empty()) {
        if (LeadingSpaceLength(rest) != 0) {
            while (const std::size_t more = LeadingSpaceLength(rest))
                rest.remove_prefix(more);
            name += ' ';
            continue;
        }
        name += rest.front();
        rest.remove_prefix(1);
    }
    return name;
}

} // namespace folivane::engine
