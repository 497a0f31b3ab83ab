// The pattern walk and the star step of the wildcard matcher.
#include "WildcardMatch.h"

#include <array>
#include <optional>
#include <string>

namespace folivane::zip {
namespace {

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = FoldCase(c);
    return result;
}

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// The bytes a set accepts. Parsing stops at the closing ">"; `end` is the index after it.
struct ByteSet {
    std::array<bool, 256> accepts{};
    std::size_t end = 0;

    bool Accepts(char c) const { return accepts[Byte(c)]; }
    bool Empty() const {
        for (bool a : accepts)
            if (a)
                return false;
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
        if (i >= mask.size())
            return std::nullopt;
        if (mask[i] == '>')
            break;
        const unsigned char first = Byte(mask[i]);
        unsigned char last = first;
        if (i + 1 < mask.size() && mask[i + 1] == '-') {
            if (i + 2 >= mask.size() || mask[i + 2] == '>')
                return std::nullopt;
            last = Byte(mask[i + 2]);
            i += 3;
        } else {
            ++i;
        }
        for (unsigned b = first; b <= last; ++b)
            set.accepts[b] = true;
        anyItem = true;
    }
    if (!anyItem)
        return std::nullopt;
    if (negated)
        for (bool& a : set.accepts)
            a = !a;
    set.end = i + 1;
    return set;
}

bool Walk(std::string_view mask, std::string_view name);

// A star, with an optional set restricting every character it passes over. `rest` is the
// mask after the star (with a set) or from the star (without one).
bool StarStep(std::string_view rest, std::string_view name, const ByteSet* starSet) {
    std::size_t p = 0;
    std::size_t t = 0;
    // A run of "*" and "?": each "?" takes one character.
    while (p < rest.size() && (rest[p] == '*' || rest[p] == '?') && t < name.size()) {
        if (rest[p] == '?')
            ++t;
        ++p;
    }
    if (t >= name.size())
        return false;
    if (!rest.empty() && p >= rest.size()) {
        // The star takes the rest of the name; a star set must accept all of it.
        if (starSet)
            for (; t < name.size(); ++t)
                if (!starSet->Accepts(name[t]))
                    return false;
        return true;
    }
    for (; t < name.size(); ++t) {
        if (!rest.empty() && (rest[p] == name[t] || rest[p] == '<') &&
            Walk(rest.substr(p), name.substr(t)))
            return true;
        if (starSet && !starSet->Accepts(name[t]))
            return false;
    }
    // Only a star set that ends the mask gets here with an empty rest: it matched one or
    // more characters, all accepted.
    return rest.empty();
}

bool Walk(std::string_view mask, std::string_view name) {
    std::size_t p = 0;
    std::size_t t = 0;
    while (p < mask.size()) {
        if (t >= name.size())
            return mask[p] == '*' && p + 1 == mask.size();
        const char c = mask[p];
        if (c == '*') {
            if (p + 1 < mask.size() && mask[p + 1] == '<') {
                const std::optional<ByteSet> starSet = ReadSet(mask, p + 1);
                if (!starSet || starSet->Empty())
                    return false;
                return StarStep(mask.substr(starSet->end), name.substr(t), &*starSet);
            }
            return StarStep(mask.substr(p), name.substr(t), nullptr);
        }
        if (c == '<') {
            const std::optional<ByteSet> set = ReadSet(mask, p);
            if (!set || !set->Accepts(name[t]))
                return false;
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
    if (m == "*")
        return true;
    return Walk(m, Folded(name));
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?<>|") != std::string_view::npos;
}

} // namespace folivane::zip
