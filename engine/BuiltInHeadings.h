// The heading rules that come with the program: Chinese, Japanese and English headings.
#pragma once

#include "HeadingRules.h"

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// Ordinary words that begin with a heading mark: after 第 and a numeral they give 第三部分 ("the
// third part of"), 第一集团 ("the first group"), 第二节课 ("the second lesson"), not headings.
inline constexpr std::string_view kNotHeadingWords[] = {
    "部分", "部队", "部隊", "部门", "部門", "部落", "部署", "部长", "部長", "部位", "部件",
    "部下", "部首", "集团", "集團", "集合", "集市", "集中", "集体", "集體", "回合", "节课",
    "節課", "节目", "節目", "节日", "節日", "节车", "節車", "节拍", "節拍", "话题", "話題",
    "话剧", "話劇", "幕后", "幕後", "幕僚", "幕府", "章程", "卷轴", "卷軸", "卷宗"};

// A title that ends like a sentence and has more words than this goes on into one.
inline constexpr std::size_t kLongestSentenceTitle = 10;

// The white space of heading lines: ASCII space, TAB, LF, VT, FF, CR and U+3000.
constexpr bool IsHeadingSpace(char32_t c) {
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == U'\u3000';
}

// Whether `trimmed` (a trimmed, non-empty line) begins with a character that some built-in
// heading begins with. It decodes one character, so callers ask it before anything dearer.
bool MayBeginBuiltInHeading(std::string_view trimmed);

// The kind of heading `trimmed` (a trimmed, non-empty line short enough to be a heading) is
// by the built-in rules:
// - Chapter: 第 + numeral + 章 回 节 節 集 话 話 幕; 序章 序言 序 楔子 引子 前言 后记 後記 尾声
//   尾聲 终章 終章 完本感言, alone or after a separator with a title; 番外 (番外篇, 番外一 ...);
//   Chapter/CHAPTER/chapter + number; Prologue, Epilogue, Interlude, Afterword in any case.
// - Volume: 第 + numeral + 卷 部; 卷 + numeral; Volume, Book, Part (capitalised or upper case)
//   + number.
// A numeral is Arabic or full-width digits or Chinese numerals (also the financial forms); an
// English number is digits, a Roman numeral in upper or lower case, or a word from One to
// Ninety-Nine. A title may follow a Chinese heading directly, an English one after a space or
// one of . : - and the like. Never a heading: a mark that begins an ordinary word (第三部分,
// 第一集团, 第二节课: see kNotHeadingWords), a title that goes on into a sentence (it ends in
// 。！？…!?. after more than kLongestSentenceTitle words, each CJK character counting as one),
// and an English title after a bare space that begins in lower case ("Part 2 of the story").
HeadingKind ClassifyBuiltIn(std::string_view trimmed);

} // namespace folivane::engine
