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

// Big5 as Hong Kong writes it, a superset, for a name of Big5: so that characters such as
// 㗎 嘅 咗 啲 are kept. Any other name as it is.
std::string WidenBig5(std::string name);

} // namespace folivane::engine
