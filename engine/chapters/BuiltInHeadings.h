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

// Whether `trimmed` (a trimmed, non-empty line) begins with a character that some built-in
// heading begins with. It decodes one character, so callers ask it before anything dearer.
bool MayBeginBuiltInHeading(std::string_view trimmed);

// The kind of heading `trimmed` (a trimmed, non-empty line short enough to be a heading) is
// by the built-in rules: a Chinese mark with a numeral (第十二章, 第3卷, 卷一), a heading word
// alone or with a title (序章, 番外, Prologue), or an English heading word with a number
// (Chapter 12, Book XII, Part Twenty-One). The marks and words are the tables of the source
// file. A title may follow a Chinese heading directly, an English one after white space or a
// separator mark. Never a heading: a mark that begins an ordinary word (第三部分, see
// kNotHeadingWords), a title that goes on into a sentence (it ends like one after more than
// kLongestSentenceTitle words, each CJK character counting as one), and an English title set
// off by white space alone that begins in lower case ("Part 2 of the story").
HeadingKind ClassifyBuiltIn(std::string_view trimmed);

// Whether `trimmed`, a built-in heading, carries a number ("Chapter 3", "第三章", "卷一"), as
// word headings ("Prologue", "序章", "番外 重逢") do not.
bool IsNumberedBuiltIn(std::string_view trimmed);

} // namespace folivane::engine
