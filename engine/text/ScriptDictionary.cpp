// Longest-word look-up: characters by code, longer beginnings filtered, then hashed.
#include "ScriptDictionary.h"

#include "CodePoints.h"

namespace folivane::engine {
namespace {

constexpr char32_t kCodes = 0x10000;       // the Basic Multilingual Plane, found by code
constexpr std::size_t kPairBits = 1 << 20; // 128 KiB, a few bits set in a hundred

std::size_t PairBit(char32_t first, char32_t second) {
    return (static_cast<std::size_t>(first) * 0x9E3779B1u ^ static_cast<std::size_t>(second)) %
           kPairBits;
}

} // namespace

ScriptDictionary::ScriptDictionary() : byCode_(kCodes), pairs_(kPairBits / 64) {}

ScriptDictionary::Key& ScriptDictionary::KeyOf(std::string_view text) {
    std::string_view rest = text;
    const char32_t code = TakeCodePoint(rest);
    std::uint32_t* index = nullptr;
    if (rest.empty() && code < kCodes)
        index = &byCode_[code];
    else
        index = &byText_.try_emplace(std::string(text), 0).first->second;
    if (*index == 0) {
        keys_.emplace_back();
        *index = static_cast<std::uint32_t>(keys_.size());
    }
    return keys_[*index - 1];
}

const ScriptDictionary::Key* ScriptDictionary::FindKey(std::string_view text) const {
    const auto found = byText_.find(text);
    return found == byText_.end() ? nullptr : &keys_[found->second - 1];
}

void ScriptDictionary::Reserve(std::size_t words) {
    keys_.reserve(keys_.size() + 2 * words);
    byText_.reserve(byText_.size() + 2 * words);
}

void ScriptDictionary::Add(const std::string& word, std::string value) {
    std::string_view rest = word;
    const char32_t first = TakeCodePoint(rest);
    if (!rest.empty()) {
        const char32_t second = TakeCodePoint(rest);
        const std::size_t bit = PairBit(first, second);
        pairs_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    for (std::size_t end = Utf8Length(word[0]); end < word.size(); end += Utf8Length(word[end]))
        KeyOf(std::string_view(word).substr(0, end)).longer = true;
    Key& key = KeyOf(word);
    if (key.word) return;
    key.word = true;
    longWords_ += Utf8Length(word[0]) < word.size();
    key.value = std::move(value);
}

bool ScriptDictionary::SameLongWords(const ScriptDictionary& other) const {
    if (longWords_ != other.longWords_) return false;
    for (const auto& [text, index] : byText_) {
        if (!keys_[index - 1].word || Utf8Length(text[0]) == text.size()) continue;
        const Key* key = other.FindKey(text);
        if (!key || !key->word) return false;
    }
    return true;
}

ScriptDictionary::Match ScriptDictionary::LongestPrefix(std::string_view text) const {
    std::string_view rest = text;
    const char32_t first = TakeCodePoint(rest);
    std::size_t end = text.size() - rest.size();
    const Key* key = nullptr;
    if (first < kCodes)
        key = byCode_[first] == 0 ? nullptr : &keys_[byCode_[first] - 1];
    else
        key = FindKey(text.substr(0, end));
    Match longest;
    if (!key) return longest;
    if (key->word) longest = {end, key->value};
    if (!key->longer || rest.empty()) return longest;
    const std::size_t bit = PairBit(first, TakeCodePoint(rest));
    if ((pairs_[bit / 64] & (std::uint64_t{1} << (bit % 64))) == 0) return longest;
    for (end = text.size() - rest.size(); end <= text.size();
         end += end < text.size() ? Utf8Length(text[end]) : 1) {
        key = FindKey(text.substr(0, end));
        if (!key) break;
        if (key->word) longest = {end, key->value};
        if (!key->longer) break;
    }
    return longest;
}

} // namespace folivane::engine
