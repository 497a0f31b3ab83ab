// Books of every shape the plan decides, shared by the suites that compare the plan, the
// listing, the window's preview and the book made.
#pragma once

#include "engine/job/BookInput.h"

#include <string>
#include <utility>
#include <vector>

namespace folivane::test {

struct PlanCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // name and bytes, in book order
    engine::ChapterMode chapters = engine::ChapterMode::Auto;
    std::string title = {}; // as the user typed it; empty: decided by the book
    bool epub3 = false;
    std::size_t heldTextBudget = engine::BookInput().heldTextBudget;
};

// About twenty: one source and many, volumes, pieces held and past the budget, a chapter of
// several pages, an archive's header and licence, the Japanese notation with and without
// headings, a title in the text, a name that is not UTF-8, repeated and blank labels.
const std::vector<PlanCase>& PlanCases();

// Writes the case's files into `folder` (ending in "/") and gives the book's input, its
// output at `folder` + "book.epub".
engine::BookInput WritePlanCase(const PlanCase& planCase, const std::string& folder);

} // namespace folivane::test
