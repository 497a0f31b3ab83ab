// The conversion job: from the book's sources and information to one EPUB file.
#pragma once

#include "BookInput.h"
#include "ProgressSink.h"
#include "WorkingTree.h"

namespace folivane::engine {

// Runs one conversion on the calling thread (a front end's worker), in steps: refuses what
// needs no source (the output, the version, the cover, the style sheet, the language tag,
// the patterns) before reading any; decides the book once (DecideBook: each source read
// once, keeping in `tree`, whose folder is then made, only the pieces of texts too large to
// hold); writes the pages it decided in memory and packs them as they are made into an
// unnamed temporary file beside the book's path (BookPathFor: the output, or the file it
// links to) that takes that name only when it is complete and checked; then removes the
// working tree. Sends the events of ProgressSink in order and never raises: every failure
// ends in Result(failure), leaves an existing file at the output path untouched and leaves
// no partial file there.
void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress);

} // namespace folivane::engine
