// Packing the book folder into the EPUB file at the output path.
#pragma once

#include <string>
#include <vector>

namespace folivane::zip {
class TZipWriter;
}

namespace folivane::engine {

// Packs the book folder (ending with "/") into an EPUB at `outputPath`: "mimetype" first and
// stored, every other file deflated under its path relative to the folder. The archive is
// written beside the output, read back and checked to hold exactly `entries` (paths in the
// book) with mimetype first and stored, and only then renamed over the output. Raises
// ConversionError when the archive cannot be written, when any file of the book folder was
// left out of it, or when the check fails; the output is then as it was.
void PackWorkingTree(const std::string& bookFolder, const std::vector<std::string>& entries,
                     const std::string& outputPath);
// The same with a writer the caller made, whose test seams and events may be set; the
// packing settings are made here.
void PackWorkingTree(const std::string& bookFolder, const std::vector<std::string>& entries,
                     const std::string& outputPath, zip::TZipWriter& writer);

} // namespace folivane::engine
