// Escaping user text for XML and dropping what XML 1.0 does not allow.
#include "XmlText.h"

#include "SourceText.h"

#include <algorithm>

namespace folivane::engine {
namespace {

void Append(std::string& out, std::string_view text, bool attribute) {
    // Callers append line by line; grow geometrically so that many small appends stay
    // linear.
    const std::size_t need = out.size() + text.size() + text.size() / 16;
    if (need > out.capacity()) out.reserve(std::max(need, 2 * out.capacity()));

    std::size_t run = 0; // start of the bytes that go out unchanged
    std::size_t i = 0;
    const auto replace = [&](std::size_t length, std::string_view replacement) {
        out.append(text.substr(run, i - run));
        out.append(replacement);
        i += length;
        run = i;
    };
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
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
        case '"':
            if (attribute)
                replace(1, "&quot;");
            else
                ++i;
            break;
        // A parser turns these into spaces inside an attribute value; references keep them.
        case '\t':
            if (attribute)
                replace(1, "&#9;");
            else
                ++i;
            break;
        case '\n':
            if (attribute)
                replace(1, "&#10;");
            else
                ++i;
            break;
        case '\r':
            if (attribute)
                replace(1, "&#13;");
            else
                ++i;
            break;
        default:
            if (c < 0x20)
                replace(1, {});
            else
                ++i;
        }
    }
    out.append(text.substr(run));
}

} // namespace

void AppendEscapedXmlText(std::string& out, std::string_view utf8) {
    Append(out, utf8, false);
}

std::string EscapeXmlText(std::string_view utf8) {
    std::string out;
    Append(out, utf8, false);
    return out;
}

std::string EscapeXmlAttribute(std::string_view utf8) {
    std::string out;
    Append(out, utf8, true);
    return out;
}

} // namespace folivane::engine
