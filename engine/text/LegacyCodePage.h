// Judging the code page of text that has no byte-order mark and is not UTF-8.
#pragma once

#include "EncodingJudgement.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// Below this many bytes above 7F (about thirty CJK characters) the detector's answer is noise:
// it names Greek or Thai pages for a line of GBK.
constexpr std::size_t kBytesToJudgeAlone = 64;

// The code page of `sample`, text without a mark that is not UTF-8, from its first byte above
// 7F to a line end or its own end:
// - Text: a text with at least kBytesToJudgeAlone bytes above 7F, by the page the detector
//   names when that page is plausible, else by the CJK double-byte page its bytes pair up as;
// - Book: else the page the book's other sources use (asked of `bookPage`, when given), when
//   it reads every byte;
// - Locale: else the locale's code page, when it reads every byte and is plausible;
// - Guess: else the detector's plausible page, the double-byte page the bytes pair up as, or
//   the locale's page, in that order.
// A single-byte page (Windows-1252, ISO-8859-7, ...) is implausible for a text mostly of
// bytes above 7F that reads whole as a CJK double-byte page; of several such pages the one
// with the most characters in its rows of common ones is taken. A page is named as the
// superset its files are written in (SupersetCodePage): Shift_JIS as CP932, Big5 as BIG5-HKSCS.
EncodingJudgement JudgeCodePage(std::string_view sample, const BookCodePageQuery& bookPage);

// Whether `encoding` is a code page rather than a Unicode form (UTF-8, UTF-16LE, ...).
bool IsCodePage(const std::string& encoding);

// The code page that most of `pages` name, the first of them on a tie; Unicode forms and
// empty names do not count. Empty when none is left.
std::string BookCodePage(const std::vector<std::string>& pages);

} // namespace folivane::engine
