// The book's plan as folivane-cli --list prints it: text for people, JSON for programs.
#pragma once

#include "engine/job/BookPlan.h"

#include <string>

namespace folivane::cli {

// The sources (encoding and what decided it, language, size, pages, paragraph style; with
// `explain` the figures that decided the style), then the contents as an indented tree, each
// entry with its size and the pages it holds, and whether it was found by its number; then
// the notices the rules gave, each after its source's path.
std::string PlanAsText(const engine::BookPlan& plan, bool explain = false);

// {"language", "pages", "sources": [{"path", "encoding", "basis", "language", "bytes",
// "pages", "paragraphs": {"style", "reason", "wrapWidth", "fixedCjkWrap", "lines", "runOns",
// "wrapped", "indentedRunOns", "indented", "gaps", "cjkRunOns", "fixedWidth"}}], "contents":
// [{"label", "kind", "page", "pages", "bytes", "numbered", "children"}], "notices": [{"source",
// "kind", "number" or "count" and "examples"}]}, with basis one of mark, chosen, text, book,
// locale, guess; kind one of volume, chapter, page; style one of lines, blocks, indented;
// reason one of chosen, too-few-lines, width-out-of-range, few-run-ons, indented-run-ons,
// not-wrapped, wrapped; a notice's kind one of number-missing, number-repeated,
// annotations-not-understood. Paths and labels that are not UTF-8 are written with the bad
// bytes replaced.
std::string PlanAsJson(const engine::BookPlan& plan);

} // namespace folivane::cli
