// Writing a file of a job's working folder to disk.
#pragma once

#include "engine/text/Failure.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// Creates the file at `path` anew (replacing an existing one) holding exactly `bytes`, a file
// under `jobFolder`, the piece folder of a job's working folder (itself made in the system's
// temporary folder). A failure is `what` (PieceNotKept naming the source) with the temporary
// folder, which the user can act on, and the system's cause: never the file's internal path.
void WriteWorkingFile(const std::string& jobFolder, const std::string& path, std::string_view bytes,
                      Failure what);

} // namespace folivane::engine
