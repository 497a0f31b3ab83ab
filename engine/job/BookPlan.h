// The plan of a book: its contents and how each source is read, found without writing anything.
#pragma once

#include "BookInput.h"

#include "engine/chapters/ChapterList.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/text/EncodingJudgement.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace folivane::engine {

// One entry of the book's table of contents, with the pages it stands for.
struct PlanEntry {
    std::string label; // as the book's contents show it
    HeadingKind heading = HeadingKind::None;
    std::size_t firstPage = 0; // index of its page in the book
    std::size_t pages = 1;     // its page and the unlisted ones cut from the same chapter after it
    std::size_t bytes = 0;     // of decoded UTF-8 text in those pages
    bool numbered = false;     // its heading was found by its number in a sequence
    std::vector<PlanEntry> children;
};

// How one source is read and what it gives.
struct SourcePlan {
    std::string path;
    EncodingJudgement encoding;
    std::string language;  // judged from its own text, as the book's would be
    std::size_t bytes = 0; // of decoded UTF-8 text
    std::size_t pages = 0;
    ParagraphShape paragraphs; // how its lines make paragraphs, and the figures that decided it
};

struct BookPlan {
    std::vector<SourcePlan> sources; // in book order
    std::vector<PlanEntry> contents;
    std::size_t pages = 0;
    std::string language;            // the book's: the user's tag, or judged from the text
    std::vector<TextNotice> notices; // in the order the sources gave them
};

// The heading rules the book asks for: none for one chapter per file, the user's patterns,
// or the built-in rules. Raises HeadingPatternError, a ConversionError, for a pattern that
// does not compile.
std::optional<HeadingRules> HeadingRulesFor(const BookInput& input);

// The chapter list's options for `input`: the same for the book and for its plan, so that
// the plan never disagrees with the book. `rules` must outlive the options.
ChapterListOptions ChapterListOptionsFor(const BookInput& input,
                                         const std::optional<HeadingRules>& rules,
                                         std::function<void()> checkPoint);

// Reads and decodes the sources and finds their chapters as the conversion does, keeping no
// text: nothing is written and no output is needed. `checkPoint` is called as the
// conversion's is and may raise to stop. Raises ConversionError naming the file when a source
// cannot be read, and for a pattern or language tag that the conversion would refuse.
BookPlan PlanBook(const BookInput& input, std::function<void()> checkPoint = {});

} // namespace folivane::engine
