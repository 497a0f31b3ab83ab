// Legacy code pages: which one a locale writes in, and which ones can be read.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// The Windows code page of a locale's language (zh_CN GB18030, zh_TW BIG5-HKSCS, ja
// CP932, ..., otherwise CP1252), as an iconv name.
std::string AnsiCodePageForLocale(std::string_view locale);
// The ANSI code page of this process's locale (LC_ALL, LC_CTYPE, LANG).
std::string SystemAnsiCodePage();

// True when sources in the named code page (an iconv name such as GB18030) can be decoded.
bool IsKnownTextEncoding(const std::string& name);

// The code page files named `name` are written in, as an iconv name: the superset that
// Windows and Hong Kong write for the legacy pages they extend, so that what the writer typed
// is kept. Shift_JIS is CP932 (① Ⅰ ㈱ 髙, ～ as U+FF5E, \\ as a backslash, not ¥), EUC-KR
// is CP949, GBK and GB2312 are GB18030, Big5 is BIG5-HKSCS (㗎 嘅 咗 啲). Any other name as it is.
std::string SupersetCodePage(std::string name);

} // namespace folivane::engine
