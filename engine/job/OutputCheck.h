// Whether a book may be written at the chosen output path, decided before any work.
#pragma once

#include "BookInput.h"

#include "engine/text/Failure.h"

#include "platform/FileStatus.h"

#include <optional>
#include <string>

namespace folivane::engine {

// Where the book named `outputPath` is written: when the output is a symbolic link, the file
// it points to, through every link after it (a link to nothing gives the path it names), so
// that the link stays and the book it leads to is replaced, as a shell's `>` would. Only the
// user's own links are followed: raises ConversionError (OutputLinkNotOwned) for a link of
// another user's (one planted where the book goes) and (OutputLinkLoops) for links that lead
// round in a circle.
std::string BookPathFor(const std::string& outputPath);

// Why the book cannot be written at input.outputPath; nothing when it can. The output must
// be named, must not be a .txt file (a source's name, when the book's was forgotten), must
// not be one of the sources, the cover or the style sheet (compared as files, by device and
// inode, so another spelling or a link is caught too), and must not be a folder, a device or
// another file that is not a regular one, nor lie in /dev, /proc or /sys, nor be a file the
// user could not write to; all of it judged at BookPathFor's path.
std::optional<Failure> OutputProblem(const BookInput& input);

// OutputProblem less the comparison with each source, which would cost a stat per source:
// the job compares the sources as it opens them, with SourceIsOutput, against `output`, which
// receives what is at the output path now (nothing when no file is there).
std::optional<Failure> OutputProblemBeforeReading(const BookInput& input,
                                                  std::optional<platform::FileStatus>& output);

// Why the book cannot be written when the source at `path`, whose opened file is `opened`, is
// the file at the output (`output`, from OutputProblemBeforeReading): the same failure as
// OutputProblem's. Nothing when it is another file.
std::optional<Failure> SourceIsOutput(const BookInput& input, const std::string& path,
                                      const platform::FileStatus& opened,
                                      const std::optional<platform::FileStatus>& output);

// The part of OutputProblem that is the user's mistake in naming the output: one of the
// inputs or a .txt file. Nothing when the output names none of them.
std::optional<Failure> OutputReplacesInput(const BookInput& input);

} // namespace folivane::engine
