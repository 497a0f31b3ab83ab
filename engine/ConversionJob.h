// The conversion job: from the book's sources and information to one EPUB file.
#pragma once

#include "BookInput.h"
#include "ProgressSink.h"
#include "WorkingTree.h"

namespace folivane::engine {

// The product's web address, written into every book's dc:source.
constexpr const char* kSourceAddress = "https://folivane.example/";

// Runs one conversion on the calling thread (a front end's worker): builds the chapter
// list, writes the book folder in `tree`, packs it into a temporary file beside
// input.outputPath and renames that over the output when complete, then removes the
// working tree. Sends the events of ProgressSink in order and never raises: every failure
// ends in Result(1, reason), leaves an existing file at the output path untouched and
// leaves no partial file there.
void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress);

} // namespace folivane::engine
