// Writing a file of a job's working folder to disk.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// Creates the file at `path` anew (replacing an existing one) holding exactly `bytes`, a file
// under `jobFolder`, the piece folder of a job's working folder (itself made in the system's
// temporary folder). Raises ConversionError when it cannot be created or when any byte does
// not reach it, naming `what` the user knows (a piece of a source), the temporary folder,
// which the user can act on, and the system's reason; never the file's internal path.
void WriteWorkingFile(const std::string& jobFolder, const std::string& path, std::string_view bytes,
                      const std::string& what);

} // namespace folivane::engine
