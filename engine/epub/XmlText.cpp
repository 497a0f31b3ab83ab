// Escaping user text for XML and dropping what XML 1.0 does not allow.
#include "XmlText.h"

#include "engine/text/TextLines.h"
#include "engine/text/UnicodeText.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <array>

namespace folivane::engine {
namespace {

enum class Mode { Text, Attribute, Lines };

// The bytes that go out unchanged in a mode, so that runs of them are copied in one piece.
constexpr std::array<bool, 256> PlainBytes(Mode mode) {
    std::array<bool, 256> plain{};
    for (std::size_t c = 0x20; c < 0x80; ++c)
        plain[c] = true;
    plain['&'] = plain['<'] = plain['>'] = false;
    if (mode == Mode::Attribute) {
        plain['"'] = false;
    } else {
        plain['\t'] = true;
    }
    if (mode == Mode::Text) plain['\n'] = plain['\r'] = true;
    return plain;
}

constexpr std::array<std::array<bool, 256>, 3> kPlain = {
    PlainBytes(Mode::Text), PlainBytes(Mode::Attribute), PlainBytes(Mode::Lines)};

// Lead bytes of three-byte characters that any two continuation bytes complete.
constexpr std::array<bool, 256> kFreeLead = [] {
    std::array<bool, 256> free{};
    for (std::size_t c = 0xE1; c <= 0xEC; ++c)
        free[c] = true;
    free[0xEE] = true;
    return free;
}();

// Where the line that begins at `i` has its first character that is not indentation.
std::size_t SkipIndent(std::string_view text, std::size_t i) {
    return i + IndentLength(text.substr(i));
}

void Append(std::string& out, std::string_view text, Mode mode, std::string_view lineBreak = {},
            bool trimIndent = false) {
    // Callers append piece by piece; grow geometrically so that many small appends stay
    // linear.
    const std::size_t need = out.size() + text.size() + text.size() / 16;
    if (need > out.capacity()) out.reserve(std::max(need, 2 * out.capacity()));

    const std::array<bool, 256>& plain = kPlain[static_cast<std::size_t>(mode)];
    const std::size_t size = text.size();
    std::size_t run = 0; // start of the bytes that go out unchanged
    std::size_t i = 0;
    if (trimIndent) run = i = SkipIndent(text, 0);
    const auto replace = [&](std::size_t length, std::string_view replacement) {
        out.append(text.substr(run, i - run));
        out.append(replacement);
        i += length;
        run = i;
    };
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    while (true) {
        // What goes out unchanged, in one loop: the plain bytes of the mode, and most of any
        // CJK text, three bytes whose lead admits every continuation (not E0's overlong
        // forms, ED's surrogates nor EF's U+FFFE and U+FFFF), told at a glance.
        while (i < size) {
            const unsigned c = bytes[i];
            if (plain[c]) {
                ++i;
            } else if (kFreeLead[c] && size - i >= 3 && (bytes[i + 1] & 0xC0) == 0x80 &&
                       (bytes[i + 2] & 0xC0) == 0x80) {
                i += 3;
            } else {
                break;
            }
        }
        if (i >= size) break;
        const unsigned c = bytes[i];
        if (c >= 0x80) {
            const Utf8Sequence sequence = NextUtf8Sequence(text.substr(i));
            // U+FFFE and U+FFFF (EF BF BE, EF BF BF) are not XML characters.
            const bool nonCharacter = sequence.valid && sequence.length == 3 && c == 0xEF &&
                                      static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                                      static_cast<unsigned char>(text[i + 2]) >= 0xBE;
            if (sequence.valid && !nonCharacter)
                i += sequence.length;
            else
                replace(sequence.length, {});
            continue;
        }
        switch (c) {
        case '&':
            replace(1, "&amp;");
            break;
        case '<':
            replace(1, "&lt;");
            break;
        case '>':
            replace(1, "&gt;");
            break;
        // Only attributes come here with these: a parser turns TAB, LF and CR into spaces
        // inside an attribute value, and references keep them.
        case '"':
            replace(1, "&quot;");
            break;
        case '\t':
            replace(1, "&#9;");
            break;
        case '\n':
        case '\r':
            if (mode == Mode::Attribute) {
                replace(1, c == '\n' ? "&#10;" : "&#13;");
            } else {
                const std::size_t length = LineEndLength(text, i);
                // A line end that ends the text starts no further line.
                replace(length, i + length < size ? lineBreak : std::string_view());
                if (trimIndent) run = i = SkipIndent(text, i);
            }
            break;
        default: // the other controls
            replace(1, {});
        }
    }
    out.append(text.substr(run));
}

} // namespace

void AppendEscapedXmlText(std::string& out, std::string_view utf8) {
    Append(out, utf8, Mode::Text);
}

void AppendEscapedXmlLines(std::string& out, std::string_view utf8, std::string_view lineBreak,
                           bool trimIndent) {
    Append(out, utf8, Mode::Lines, lineBreak, trimIndent);
}

std::string EscapeXmlText(std::string_view utf8) {
    std::string out;
    Append(out, utf8, Mode::Text);
    return out;
}

bool IsEmptyInXml(std::string_view utf8) {
    return EscapeXmlText(utf8).find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string EscapeXmlAttribute(std::string_view utf8) {
    std::string out;
    Append(out, utf8, Mode::Attribute);
    return out;
}

} // namespace folivane::engine
