// The book's plan as folivane-cli --list prints it: text for people, JSON for programs.
#pragma once

#include "engine/job/BookPlan.h"

#include <string>

namespace folivane::cli {

// The title, author and publisher, the sources (name, path, encoding and what decided it,
// language, paragraphs, size, pages), then the contents as an indented tree, each entry with
// its size and the pages it holds.
std::string PlanAsText(const engine::BookPlan& plan);

// The version of PlanAsJson's format: it changes only when a field is removed or changes its
// meaning, so that scripts can rely on it (folivane-cli(1) describes the fields).
constexpr int kPlanFormatVersion = 1;

// {"version", "title", "author", "publisher", "language", "pages", "sources": [{"path",
// "name", "encoding", "basis", "language", "paragraphs", "notation", "bytes", "pages"}],
// "contents": [{"label", "kind", "page", "pages", "bytes", "children"}], "notices":
// [{"source", "kind", "number", "count", "examples"}]}, with basis one of mark, chosen, text,
// book, locale, guess; paragraphs one of lines, blocks, indented; kind one of volume, chapter,
// page; a notice's kind one of number-missing, number-repeated, annotations-not-understood.
// Paths that are not UTF-8 are written with each bad byte replaced by U+FFFD; names and
// labels are UTF-8 already.
std::string PlanAsJson(const engine::BookPlan& plan);

} // namespace folivane::cli
