// The pattern walk and the star step of the wildcard matcher.
#include "WildcardMatch.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace folivane::zip {
namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = FoldCase(c);
    return result;
}

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

// The bytes a set accepts. Parsing stops at the closing ">"; `end` is the index after it.
struct ByteSet {
    std::array<bool, 256> accepts{};
    std::size_t end = 0;

    bool Accepts(char c) const { return accepts[Byte(c)]; }
    bool Empty() const {
        for (bool a : accepts)
            if (a) return false;
        return true;
    }
};

// Reads a set that starts with "<" at `start`. Returns nothing when it is malformed: the
// mask ends before ">", the set has no item, or a range ends with ">".
std::optional<ByteSet> ReadSet(std::string_view mask, std::size_t start) {
    std::size_t i = start + 1;
    bool negated = false;
    if (i < mask.size() && (mask[i] == '!' || mask[i] == '^')) {
        negated = true;
        ++i;
    }
    ByteSet set;
    bool anyItem = false;
    while (true) {
        if (i >= mask.size()) return std::nullopt;
        if (mask[i] == '>') break;
        const unsigned char first = Byte(mask[i]);
        unsigned char last = first;
        if (i + 1 < mask.size() && mask[i + 1] == '-') {
            if (i + 2 >= mask.size() || mask[i + 2] == '>') return std::nullopt;
            last = Byte(mask[i + 2]);
            i += 3;
        } else {
            ++i;
        }
        for (unsigned b = first; b <= last; ++b)
            set.accepts[b] = true;
        anyItem = true;
    }
    if (!anyItem) return std::nullopt;
    if (negated)
        for (bool& a : set.accepts)
            a = !a;
    set.end = i + 1;
    return set;
}

// One match of a folded mask over a folded name. The walk and the star step are pure
// functions of their mask and name positions, and a success ends the whole match at once,
// so a star step's scan that failed from some name position fails from there every time:
// remembering those failures keeps masks with many stars from taking exponential time.
class Matcher {
public:
    Matcher(std::string_view mask, std::string_view name) : mask_(mask), name_(name) {}

    bool Walk(std::size_t p, std::size_t t);

private:
    bool StarStep(std::size_t star, std::size_t rest, std::size_t t, const ByteSet* starSet);
    // The scan of the star at `star` is known to fail from name position t.
    bool Failed(std::size_t star, std::size_t t) const {
        return !failed_.empty() && failed_[star * (name_.size() + 1) + t];
    }
    void MarkFailed(std::size_t star, std::size_t from, std::size_t to) {
        if (failed_.empty()) failed_.assign(mask_.size() * (name_.size() + 1), false);
        for (std::size_t t = from; t <= to; ++t)
            failed_[star * (name_.size() + 1) + t] = true;
    }

    std::string_view mask_;
    std::string_view name_;
    std::vector<bool> failed_;
};

// A star, with an optional set restricting every character it passes over. `rest` is the
// mask position after the star's set, or the star itself when it has none.
bool Matcher::StarStep(std::size_t star, std::size_t rest, std::size_t t, const ByteSet* starSet) {
    const std::string_view mask = mask_;
    const std::string_view name = name_;
    const bool restEmpty = rest >= mask.size();
    std::size_t p = rest;
    // A run of "*" and "?": each "?" takes one character.
    while (p < mask.size() && (mask[p] == '*' || mask[p] == '?') && t < name.size()) {
        if (mask[p] == '?') ++t;
        ++p;
    }
    if (t >= name.size()) return false;
    if (!restEmpty && p >= mask.size()) {
        // The star takes the rest of the name; a star set must accept all of it.
        if (starSet)
            for (; t < name.size(); ++t)
                if (!starSet->Accepts(name[t])) return false;
        return true;
    }
    const std::size_t first = t;
    for (; t < name.size(); ++t) {
        if (Failed(star, t)) {
            if (t > first) MarkFailed(star, first, t - 1);
            return false;
        }
        if (!restEmpty && (mask[p] == name[t] || mask[p] == '<') && Walk(p, t)) return true;
        if (starSet && !starSet->Accepts(name[t])) {
            MarkFailed(star, first, t);
            return false;
        }
    }
    // Only a star set that ends the mask gets here with an empty rest: it matched one or
    // more characters, all accepted.
    if (restEmpty) return true;
    MarkFailed(star, first, name.size() - 1);
    return false;
}

bool Matcher::Walk(std::size_t p, std::size_t t) {
    const std::string_view mask = mask_;
    const std::string_view name = name_;
    while (p < mask.size()) {
        if (t >= name.size()) return mask[p] == '*' && p + 1 == mask.size();
        const char c = mask[p];
        if (c == '*') {
            if (p + 1 < mask.size() && mask[p + 1] == '<') {
                const std::optional<ByteSet> starSet = ReadSet(mask, p + 1);
                if (!starSet || starSet->Empty()) return false;
                return StarStep(p, starSet->end, t, &*starSet);
            }
            return StarStep(p, p, t, nullptr);
        }
        if (c == '<') {
            const std::optional<ByteSet> set = ReadSet(mask, p);
            if (!set || !set->Accepts(name[t])) return false;
            p = set->end;
        } else if (c != '?' && c != name[t]) {
            return false;
        } else {
            ++p;
        }
        ++t;
    }
    return t >= name.size();
}

} // namespace

bool WildcardMatch(std::string_view mask, std::string_view name) {
    const std::string m = Folded(mask);
    if (m == "*") return true;
    const std::string n = Folded(name);
    return Matcher(m, n).Walk(0, 0);
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?<>|") != std::string_view::npos;
}

} // namespace folivane::zip
