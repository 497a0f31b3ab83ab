// Writing one document of the book to disk.
#pragma once

#include "engine/text/Failure.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// Creates the file anew (replacing an existing one) holding exactly `bytes`. Raises
// ConversionError naming the file and the system's reason when it cannot be created or
// when any byte does not reach it.
void WriteDocument(const std::string& path, std::string_view bytes);

// As WriteDocument, for a file under `jobFolder`, the book folder or the piece folder of a
// job's working folder (itself made in the system's temporary folder). A failure is `what`
// (PieceNotKept naming the source, PageNotKept naming the chapter) with the temporary folder,
// which the user can act on, and the system's cause: never the file's internal path.
void WriteWorkingFile(const std::string& jobFolder, const std::string& path, std::string_view bytes,
                      Failure what);

} // namespace folivane::engine
