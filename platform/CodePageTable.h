// The characters of a legacy code page read from iconv once, to decode large texts by lookup.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::platform {

// What iconv makes of each byte of a code page and of each pair of a lead byte and a second
// byte from 0x40 on, asked once for all of them: decoding a text of megabytes with the table
// costs a lookup a character instead of iconv's steps through its own tables. Meant for code
// pages that carry no state from one character to the next (the single-byte Windows pages,
// GBK, GB18030, Big5, Shift_JIS, EUC-KR and their relatives): there a character decodes the
// same alone as within the text, so the table gives iconv's text exactly. What the table does
// not hold (an undecodable byte, GB18030's four-byte characters, EUC-JP's three-byte ones) is
// left to iconv where it occurs.
class CodePageTable {
public:
    // The table of `encoding`, an iconv name, to UTF-8; nothing when iconv does not know it.
    static std::optional<CodePageTable> Read(const std::string& encoding);

    // Appends `input` decoded to `out`, as ConvertText(input, encoding, "UTF-8", replacement,
    // replaced) gives it: each byte that cannot be decoded, and an incomplete character at
    // the end, is `replacement`, counted in `replaced` when given. Any thread.
    void Decode(std::string_view input, std::string_view replacement, std::string& out,
                std::size_t* replaced = nullptr) const;

private:
    // A character's UTF-8; size 0 where iconv decides.
    struct Character {
        std::uint8_t size = 0;
        std::array<char, 4> utf8{};
    };
    static constexpr unsigned kFirstSecond = 0x40;
    static constexpr std::size_t kSeconds = 0x100 - kFirstSecond;

    explicit CodePageTable(std::string encoding) : encoding_(std::move(encoding)) {}
    const Character& Pair(unsigned lead, unsigned second) const {
        return pairs_[(lead - 0x80) * kSeconds + (second - kFirstSecond)];
    }

    std::string encoding_;
    std::array<Character, 256> single_{};
    std::array<bool, 256> lead_{}; // alone, an incomplete character
    std::vector<Character> pairs_; // lead bytes 80-FF by second bytes 40-FF
    bool asciiItself_ = false;     // bytes 00-7F are the same characters in UTF-8
};

} // namespace folivane::platform
