// Character notes turned into characters: JIS X 0213 codes through the system's converter,
// Unicode code points as they are.
#include "CharacterNote.h"

#include "engine/text/CodePoints.h"
#include "engine/text/UnicodeText.h"

#include "platform/TextConversion.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

namespace folivane::engine {
namespace {

constexpr std::string_view kFieldMark = "、";
constexpr std::string_view kOpenQuote = "「";
constexpr std::string_view kCloseQuote = "」";
// The converter that knows both planes of JIS X 0213 by their EUC form.
constexpr const char* kJisX0213 = "EUC-JISX0213";

// The fields of a note, parted by 、 outside 「」 and nested annotations, so that a description
// may hold either.
std::vector<std::string_view> Fields(std::string_view body) {
    std::vector<std::string_view> fields;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t at = 0; at < body.size();) {
        const std::string_view rest = body.substr(at);
        if (rest.starts_with(kOpenQuote) || rest.starts_with("［")) {
            ++depth;
        } else if ((rest.starts_with(kCloseQuote) || rest.starts_with("］")) && depth > 0) {
            --depth;
        } else if (depth == 0 && rest.starts_with(kFieldMark)) {
            fields.push_back(body.substr(start, at - start));
            at = start = at + kFieldMark.size();
            continue;
        }
        std::string_view next = rest;
        TakeCodePoint(next);
        at += rest.size() - next.size();
    }
    fields.push_back(body.substr(start));
    return fields;
}

// Numbers written in ASCII or full-width digits, parted by `-`: "1-90-31", "１−９０−３１".
std::optional<std::array<unsigned, 3>> PlaneRowCell(std::string_view text) {
    std::array<unsigned, 3> numbers{};
    std::size_t index = 0;
    std::size_t digits = 0;
    while (!text.empty()) {
        const char32_t c = TakeCodePoint(text);
        unsigned digit = 10;
        if (c >= U'0' && c <= U'9') digit = static_cast<unsigned>(c - U'0');
        if (c >= U'０' && c <= U'９') digit = static_cast<unsigned>(c - U'０');
        if (digit < 10) {
            if (++digits > 2) return std::nullopt;
            numbers[index] = numbers[index] * 10 + digit;
        } else if ((c == U'-' || c == U'−' || c == U'－') && digits > 0 && index < 2) {
            ++index;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (index != 2 || digits == 0) return std::nullopt;
    if (numbers[0] < 1 || numbers[0] > 2) return std::nullopt;
    if (numbers[1] < 1 || numbers[1] > 94 || numbers[2] < 1 || numbers[2] > 94) return std::nullopt;
    return numbers;
}

// The character of a JIS X 0213 code: plane 1 is the EUC bytes A0+row, A0+cell; plane 2 has
// 8F before them. Empty when the converter names none (a code of plane 2 outside its rows).
std::string JisX0213Character(const std::array<unsigned, 3>& code) {
    std::string bytes;
    if (code[0] == 2) bytes += '\x8F';
    bytes += static_cast<char>(0xA0 + code[1]);
    bytes += static_cast<char>(0xA0 + code[2]);
    std::size_t failed = 0;
    try {
        std::string character = platform::ConvertText(bytes, kJisX0213, "UTF-8", "", &failed);
        return failed == 0 ? character : std::string();
    } catch (const std::invalid_argument&) {
        return std::string(); // a system without the converter shows the description
    }
}

// The character of "U+6318" (four to six hex digits), when it is one XML may hold.
std::string CodePointCharacter(std::string_view field) {
    if (!(field.starts_with("U+") || field.starts_with("u+"))) return std::string();
    field.remove_prefix(2);
    if (field.size() < 4 || field.size() > 6) return std::string();
    char32_t c = 0;
    for (const char digit : field) {
        const int value = digit >= '0' && digit <= '9'   ? digit - '0'
                          : digit >= 'A' && digit <= 'F' ? digit - 'A' + 10
                          : digit >= 'a' && digit <= 'f' ? digit - 'a' + 10
                                                         : -1;
        if (value < 0) return std::string();
        c = c * 16 + static_cast<char32_t>(value);
    }
    const bool allowed = (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD) ||
                         (c >= 0x10000 && c <= 0x10FFFF);
    if (!allowed || (c >= 0x7F && c < 0xA0)) return std::string();
    std::string character;
    AppendUtf8(character, c);
    return character;
}

} // namespace

CharacterNote ReadCharacterNote(std::string_view body) {
    const std::vector<std::string_view> fields = Fields(body);
    CharacterNote note;
    note.description = fields.front();
    if (note.description.starts_with(kOpenQuote) && note.description.ends_with(kCloseQuote) &&
        note.description.size() >= kOpenQuote.size() + kCloseQuote.size()) {
        note.description.remove_prefix(kOpenQuote.size());
        note.description.remove_suffix(kCloseQuote.size());
    }
    for (std::size_t i = 1; i < fields.size() && note.character.empty(); ++i) {
        std::string_view field = fields[i];
        // 第3水準 and 第4水準 name the levels of JIS X 0213; the code after them says all.
        if (field.starts_with("第") && field.find("水準") != std::string_view::npos)
            field.remove_prefix(field.find("水準") + std::string_view("水準").size());
        if (const auto code = PlaneRowCell(field))
            note.character = JisX0213Character(*code);
        else
            note.character = CodePointCharacter(field);
    }
    return note;
}

} // namespace folivane::engine
