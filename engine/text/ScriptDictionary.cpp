// Longest-word look-up: characters by code, longer beginnings filtered, then hashed.
#include "ScriptDictionary.h"

#include "CodePoints.h"

namespace folivane::engine {
namespace {

constexpr char32_t kCodes = 0x10000;       // the Basic Multilingual Plane, found by code
constexpr std::size_t kPairBits = 1 << 20; // 128 KiB, a few bits set in a hundred

// The character `text` (well-formed UTF-8, not empty) begins with, and its bytes: the text
// was checked once, so no byte is checked again here.
char32_t Decode(std::string_view text, std::size_t& length) {
    const auto byte = [&text](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
    };
    length = Utf8Length(text[0]);
    switch (length) {
    case 1:
        return byte(0);
    case 2:
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3:
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default:
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
               (byte(3) & 0x3F);
    }
}

std::size_t PairBit(char32_t first, char32_t second) {
    return (static_cast<std::size_t>(first) * 0x9E3779B1u ^ static_cast<std::size_t>(second)) %
           kPairBits;
}

} // namespace

ScriptDictionary::ScriptDictionary()
    : byCode_(kCodes), starts_(kCodes / 64), pairs_(kPairBits / 64) {}

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
    if (first < kCodes) starts_[first / 64] |= std::uint64_t{1} << (first % 64);
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
    std::size_t end = 0;
    const char32_t first = Decode(text, end);
    if (first < kCodes && (starts_[first / 64] & (std::uint64_t{1} << (first % 64))) == 0)
        return {};
    const Key* key = nullptr;
    if (first < kCodes)
        key = byCode_[first] == 0 ? nullptr : &keys_[byCode_[first] - 1];
    else
        key = FindKey(text.substr(0, end));
    Match longest;
    if (!key) return longest;
    if (key->word) longest = {end, key->value};
    if (!key->longer || end == text.size()) return longest;
    std::size_t secondLength = 0;
    const std::size_t bit = PairBit(first, Decode(text.substr(end), secondLength));
    if ((pairs_[bit / 64] & (std::uint64_t{1} << (bit % 64))) == 0) return longest;
    for (end += secondLength; end <= text.size();
         end += end < text.size() ? Utf8Length(text[end]) : 1) {
        key = FindKey(text.substr(0, end));
        if (!key) break;
        if (key->word) longest = {end, key->value};
        if (!key->longer) break;
    }
    return longest;
}

} // namespace folivane::engine
