// OEBPS/css/main.css: how every page of the book looks.
#pragma once

namespace folivane::engine {

// The style sheet, the same in every book.
extern const char* const kMainCss;

} // namespace folivane::engine
