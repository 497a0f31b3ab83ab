// Kana readings and the runs of one kind of character that carry them.
#include "RubyBase.h"

#include "engine/text/AsciiText.h"
#include "engine/text/CodePoints.h"

namespace folivane::engine {
namespace {

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF) ||
           (c >= 0x31F0 && c <= 0x31FF);
}

} // namespace

bool IsKanaReading(std::string_view reading) {
    if (reading.empty()) return false;
    while (!reading.empty())
        if (!IsKana(TakeCodePoint(reading))) return false;
    return true;
}

BaseKind BaseKindOf(char32_t c) {
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' ||
        c == U'〆' || c == U'〇' || c == U'ヶ')
        return BaseKind::Kanji;
    if ((c >= 0x30A1 && c <= 0x30FA) || c == U'ー' || (c >= 0x31F0 && c <= 0x31FF))
        return BaseKind::Katakana;
    if (c >= 0x3041 && c <= 0x309F) return BaseKind::Hiragana;
    if ((c < 0x80 && IsAsciiLetterOrDigit(static_cast<char>(c))) || (c >= U'０' && c <= U'９') ||
        (c >= U'Ａ' && c <= U'Ｚ') || (c >= U'ａ' && c <= U'ｚ'))
        return BaseKind::Latin;
    return BaseKind::None;
}

std::size_t TrailingOfKind(std::string_view text, BaseKind& kind) {
    std::size_t start = text.size();
    while (start > 0) {
        const std::string_view before = text.substr(0, start);
        const BaseKind last = BaseKindOf(LastCodePoint(before));
        if (last == BaseKind::None || (kind != BaseKind::None && last != kind)) break;
        kind = last;
        start = LastCodePointStart(before);
    }
    return text.size() - start;
}

} // namespace folivane::engine
