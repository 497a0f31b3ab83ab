// Temporary archives and putting a finished one in place of the archive path.
#pragma once

#include <string>

namespace folivane::zip {

// Creates a new, empty, uniquely named file in `folder` when it names an existing folder,
// otherwise in the system's temporary folder, and returns its path.
std::string CreateTempArchive(const std::string& folder);

// Puts the finished archive at `temp` in place of `target`. The file at `target` is never
// removed first: on one file system a rename replaces it at once; across file systems the
// archive is copied to a temporary file beside `target`, which is then renamed over it.
// A failure leaves the old file at `target`, removes every temporary file and raises.
// The new file keeps the permissions of the file it replaces, or the usual ones for a
// new file. `sync` forces the data to disk before the rename.
void ReplaceArchiveFile(const std::string& temp, const std::string& target, bool sync);

// Removes a file, ignoring failures; for clean-up paths.
void RemoveFileQuietly(const std::string& path);

// The process's file-creation mask, read without changing it.
unsigned CurrentUmask();

// The system's temporary folder ($TMPDIR, else /tmp), ending with "/".
std::string SystemTempFolder();

} // namespace folivane::zip
