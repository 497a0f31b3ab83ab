// folivane-cli --each: one book per source, several at once.
#pragma once

#include "CliOptions.h"

namespace folivane::cli {

// Makes one book per source of options.inputs (BatchSources) in the folder options.book's
// output names (made when missing; empty: the working folder), each with the options given,
// options.jobs at once. Prints a line to standard output as each book is made or skipped
// and to standard error as one fails, then a summary. Returns the exit status: 0 when every
// book was made or skipped, 1 when any was not (the summary counts them), 128 + N when
// signal N stopped the run (the books finished stay, the others leave nothing).
int RunEach(const CliOptions& options);

} // namespace folivane::cli
