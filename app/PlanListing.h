// The book's plan as folivane-cli --list prints it: text for people, JSON for programs.
#pragma once

#include "engine/job/BookPlan.h"

#include <string>

namespace folivane::cli {

// The title, author and publisher, the sources (name, path, encoding and what decided it,
// language, size, pages, paragraph style, whether it uses the notation; with `explain` the
// figures that decided the style), then the contents as an indented tree, each entry with its
// size and the pages it holds, and whether it was found by its number; then the notices the
// rules gave, each after its source's path.
std::string PlanAsText(const engine::BookPlan& plan, bool explain = false);

// The version of PlanAsJson's format: it changes only when a field is removed or changes its
// meaning, so that scripts can rely on it (folivane-cli(1) describes the fields).
constexpr int kPlanFormatVersion = 1;

// {"version", "title", "author", "publisher", "language", "pages", "sources": [{"path",
// "name", "encoding", "basis", "language", "notation", "bytes", "pages", "paragraphs":
// {"style", "reason", "wrapWidth", "fixedCjkWrap", "lines", "runOns", "wrapped",
// "indentedRunOns", "indented", "gaps", "cjkRunOns", "fixedWidth"}}], "contents": [{"label",
// "kind", "page", "pages", "bytes", "numbered", "children"}], "notices": [{"source", "kind",
// "number"; "count" and "examples"; or "count" and "encoding"}]}, with basis one of mark,
// chosen, text, book, locale, guess; kind one of volume, chapter, page; style one of lines,
// blocks, indented; reason one of chosen, too-few-lines, width-out-of-range, few-run-ons,
// indented-run-ons, not-wrapped, wrapped; a notice's kind one of number-missing,
// number-repeated, annotations-not-understood, bytes-not-decoded. Paths that are not UTF-8
// are written with each bad byte replaced by U+FFFD; names and labels are UTF-8 already.
std::string PlanAsJson(const engine::BookPlan& plan);

} // namespace folivane::cli
