// One of OpenCC's dictionaries held in tables, for the longest word a text begins with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folivane::engine {

// The words of one dictionary (OpenCC's, read through its lexicon) and what each becomes.
// OpenCC answers "the longest word here" by a search of its trie for every character, which
// costs it about a microsecond a character. Here a character of the Basic Multilingual Plane
// that begins no key is told by one bit (most characters, for most dictionaries), one that does
// is found by its code, a filter of pairs of characters tells whether a longer word can
// start here, and only then are the longer beginnings looked up, one character more at a
// time while the text still begins a word. Filled once, then read only: threads may share it.
class ScriptDictionary {
public:
    ScriptDictionary();

    // The longest word found and its replacement; length 0 when no word starts the text.
    struct Match {
        std::size_t length = 0; // in bytes
        std::string_view value;
    };

    // Room for `words` more words, as many beginnings and their replacements.
    void Reserve(std::size_t words);

    // Adds `word` (well-formed UTF-8, not empty) becoming `value`. A word already added keeps
    // its first value.
    void Add(const std::string& word, std::string value);

    // The longest word `text` (well-formed UTF-8, not empty) begins with.
    Match LongestPrefix(std::string_view text) const;

    // How many words of more than one character it has.
    std::size_t LongWords() const { return longWords_; }
    // Whether both have the same words of more than one character (whatever they become).
    bool SameLongWords(const ScriptDictionary& other) const;

private:
    struct Key {
        bool word = false;   // a word of the dictionary, becoming `value`
        bool longer = false; // the beginning of a longer word
        std::string value;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const noexcept {
            return std::hash<std::string_view>()(key);
        }
    };

    Key& KeyOf(std::string_view text);
    const Key* FindKey(std::string_view text) const;

    std::vector<Key> keys_;
    std::vector<std::uint32_t> byCode_; // index + 1 in keys_ of each character of the BMP
    std::vector<std::uint64_t> starts_; // bits of the BMP's characters a key begins with
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> byText_; // the others
    std::vector<std::uint64_t> pairs_; // bits of the pairs of characters a key begins with
    std::size_t longWords_ = 0;        // words of more than one character
};

// The bytes of the character that begins with `lead`, in well-formed UTF-8.
constexpr std::size_t Utf8Length(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

} // namespace folivane::engine
