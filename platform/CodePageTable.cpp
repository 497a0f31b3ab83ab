// A code page's characters asked of iconv once, in runs: a few hundred calls for all of them.
#include "CodePageTable.h"

#include "IconvHandle.h"
#include "Memory.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace folivane::platform {
namespace {

// The longest character of the code pages a table is made for (GB18030's four bytes).
constexpr std::size_t kLongest = 4;

// What one call of iconv did with `input` from a fresh state.
struct Converted {
    std::size_t consumed = 0;
    std::size_t produced = 0;
    bool failed = false;
    int error = 0;
};

Converted Convert(iconv_t cd, std::string_view input, char* out, std::size_t room) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string copy(input); // iconv's input is not const
    char* in = copy.data();
    std::size_t inLeft = copy.size();
    std::size_t outLeft = room;
    Converted result;
    result.failed = iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1);
    result.error = result.failed ? errno : 0;
    result.consumed = copy.size() - inLeft;
    result.produced = room - outLeft;
    return result;
}

std::size_t Utf8Size(unsigned char first) {
    return first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
}

// Decodes the character at `p` with iconv, writing at `o`: what iconv takes of the next few
// bytes, or `replacement` for one byte where it takes none. Returns the bytes used.
std::size_t ByIconv(iconv_t cd, const unsigned char* p, const unsigned char* end, char*& o,
                    std::string_view replacement, std::size_t* replaced) {
    const std::size_t length = std::min<std::size_t>(kLongest, static_cast<std::size_t>(end - p));
    const Converted converted = Convert(
        cd, std::string_view(reinterpret_cast<const char*>(p), length), o, kLongest * kLongest);
    if (converted.consumed > 0) {
        o += converted.produced;
        return converted.consumed;
    }
    std::memcpy(o, replacement.data(), replacement.size());
    o += replacement.size();
    if (replaced) ++*replaced;
    return 1;
}

} // namespace

std::optional<CodePageTable> CodePageTable::Read(const std::string& encoding) {
    const IconvHandle cd(encoding, "UTF-8");
    if (!cd.Valid()) return std::nullopt;
    CodePageTable table(encoding);
    char out[kSeconds * kLongest];
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        const Converted one = Convert(cd.Get(), std::string_view(&in, 1), out, sizeof out);
        // A byte taken and nothing given: iconv holds it to compose with what follows, and a
        // character decodes differently alone; such a code page has no table.
        if (!one.failed && one.produced == 0) return std::nullopt;
        if (!one.failed && one.consumed == 1 && one.produced >= 1 && one.produced <= 3) {
            table.single_[byte].size = static_cast<std::uint8_t>(one.produced);
            std::memcpy(table.single_[byte].utf8.data(), out, one.produced);
        }
        table.lead_[byte] = one.failed && one.error == EINVAL;
    }
    table.asciiItself_ = true;
    for (unsigned byte = 0; byte < 0x80; ++byte)
        table.asciiItself_ = table.asciiItself_ && table.single_[byte].size == 1 &&
                             static_cast<unsigned char>(table.single_[byte].utf8[0]) == byte;

    // Each lead byte with every second byte after it, in one call until a pair fails: the
    // output is then one character for each pair taken. A run that does not come out so
    // (a pair that starts a longer character) is left to iconv.
    table.pairs_.resize((0x100 - 0x80) * kSeconds);
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        if (!table.lead_[lead]) continue;
        std::string pairs;
        for (unsigned second = kFirstSecond; second < 0x100; ++second) {
            pairs += static_cast<char>(lead);
            pairs += static_cast<char>(second);
        }
        for (std::size_t at = 0; at < pairs.size();) {
            const Converted run =
                Convert(cd.Get(), std::string_view(pairs).substr(at), out, sizeof out);
            if (run.consumed % 2 != 0) break;
            std::vector<std::size_t> sizes;
            for (std::size_t o = 0; o < run.produced; o += sizes.back())
                sizes.push_back(Utf8Size(static_cast<unsigned char>(out[o])));
            if (sizes.size() != run.consumed / 2) break;
            const char* character = out;
            for (std::size_t i = 0; i < sizes.size(); ++i) {
                const unsigned second = static_cast<unsigned char>(pairs[at + 2 * i + 1]);
                Character& entry = table.pairs_[(lead - 0x80) * kSeconds + (second - kFirstSecond)];
                entry.size = static_cast<std::uint8_t>(sizes[i]);
                std::memcpy(entry.utf8.data(), character, sizes[i]);
                character += sizes[i];
            }
            at += run.consumed;
            if (!run.failed) break;
            at += 2; // the pair iconv stopped at is left to it
        }
    }
    return table;
}

void CodePageTable::Decode(std::string_view input, std::string_view replacement, std::string& out,
                           std::size_t* replaced) const {
    if (replaced) *replaced = 0;
    std::optional<IconvHandle> cd; // opened at the first byte the table leaves to iconv
    // Room is made a block at a time, for the most a byte can give (a character is at most
    // four bytes of UTF-8, and never fewer bytes of the code page), so that the text is
    // written with no check a character and no more is cleared ahead of it than a block's.
    constexpr std::size_t kBlock = 64 << 10;
    constexpr std::size_t kAfterBlock = 64; // a character begun at the block's end, iconv's output
    const std::size_t most = std::max(kLongest, replacement.size());
    const auto* p = reinterpret_cast<const unsigned char*>(input.data());
    const auto* const end = p + input.size();
    std::size_t produced = out.size();
    // Room for one and a half times the input (two-byte characters of three bytes of UTF-8)
    // and a whole block's most besides, which the last block asks for: short of it the text
    // would be copied to fresh memory, twice the memory faulted in, at its very end.
    out.reserve(produced + input.size() + input.size() / 2 + std::min(kBlock, input.size()) * most +
                kAfterBlock);
    // Faulted in a MiB ahead of the text, not all the room at once: text of single bytes
    // fills no more than two thirds of it.
    constexpr std::size_t kFaultAhead = 1 << 20;
    std::size_t faulted = produced;
    while (p < end) {
        const auto* const blockEnd =
            p + std::min<std::size_t>(kBlock, static_cast<std::size_t>(end - p));
        const std::size_t room = static_cast<std::size_t>(blockEnd - p) * most + kAfterBlock;
        if (out.size() < produced + room) {
            if (produced + room > faulted) {
                const std::size_t ahead =
                    std::min(out.capacity(), produced + room + kFaultAhead) - faulted;
                PrefaultForWriting(out.data() + faulted, ahead);
                faulted += ahead;
            }
            out.resize(produced + room);
        }
        char* o = out.data() + produced;
        while (p < blockEnd) {
            const unsigned c = *p;
            if (c < 0x80 && asciiItself_) {
                *o++ = static_cast<char>(c);
                ++p;
                continue;
            }
            const Character* character = &single_[c];
            std::size_t used = 1;
            if (lead_[c] && c >= 0x80 && end - p >= 2 && p[1] >= kFirstSecond) {
                character = &Pair(c, p[1]);
                used = 2;
            }
            if (character->size != 0) {
                std::memcpy(o, character->utf8.data(), character->utf8.size());
                o += character->size;
                p += used;
                continue;
            }
            if (!cd) cd.emplace(encoding_, "UTF-8");
            p += ByIconv(cd->Get(), p, end, o, replacement, replaced);
        }
        produced = static_cast<std::size_t>(o - out.data());
    }
    out.resize(produced);
}

} // namespace folivane::platform
