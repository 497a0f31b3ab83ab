// The conversion job: from the book's sources and information to one EPUB file.
#pragma once

#include "BookInput.h"
#include "ProgressSink.h"
#include "WorkingTree.h"

namespace folivane::zip {
class TZipWriter;
}

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

// Packs the book folder (ending with "/") into an EPUB at `outputPath`: "mimetype" first
// and stored, every other file deflated under its path relative to the folder. The
// archive is written beside the output under a temporary name and renamed over it when
// complete. Raises ConversionError when the archive cannot be written or when any file of
// the book folder was left out of it.
void PackWorkingTree(const std::string& bookFolder, const std::string& outputPath);
// The same with a writer the caller made, whose test seams may be set; the packing
// settings are made here.
void PackWorkingTree(const std::string& bookFolder, const std::string& outputPath,
                     zip::TZipWriter& writer);

} // namespace folivane::engine
