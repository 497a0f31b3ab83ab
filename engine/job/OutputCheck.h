// Whether a book may be written at the chosen output path, decided before any work.
#pragma once

#include "BookInput.h"

#include <string>

namespace folivane::engine {

// Why the book cannot be written at input.outputPath, for the user; empty when it can. The
// output must be named, must not be a .txt file (a source's name, when the book's was
// forgotten), must not be one of the sources or the cover (compared as files, by
// device and inode, so another spelling or a link is caught too), and must not be a folder,
// a device or another file that is not a regular one, nor lie in /dev, /proc or /sys, nor be
// a file the user could not write to.
std::string OutputProblem(const BookInput& input);

// The part of OutputProblem that is the user's mistake in naming the output: one of the
// inputs or a .txt file. Empty when the output names none of them.
std::string OutputReplacesInput(const BookInput& input);

} // namespace folivane::engine
