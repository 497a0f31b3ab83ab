// The book's plan as folivane-cli --list prints it: text for people, JSON for programs.
#pragma once

#include "engine/job/BookPlan.h"

#include <string>

namespace folivane::cli {

// The sources (encoding and what decided it, language, size, pages), then the contents as an
// indented tree, each entry with its size and the pages it holds.
std::string PlanAsText(const engine::BookPlan& plan);

// {"language", "pages", "sources": [{"path", "encoding", "basis", "language", "bytes",
// "pages"}], "contents": [{"label", "kind", "page", "pages", "bytes", "children"}]}, with
// basis one of mark, chosen, text, book, locale, guess and kind one of volume, chapter, page.
// Paths and labels that are not UTF-8 are written with the bad bytes replaced.
std::string PlanAsJson(const engine::BookPlan& plan);

} // namespace folivane::cli
