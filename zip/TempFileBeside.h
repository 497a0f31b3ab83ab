// A new file beside a target path that takes the target's place only when it is complete.
#pragma once

#include "FileStream.h"

#include <memory>
#include <string>

namespace folivane::zip {

// Where the file system allows, the file has no name until Publish() (O_TMPFILE), so a
// process killed while writing it leaves nothing behind; elsewhere it is a hidden, uniquely
// named file that the destructor removes unless it was published. Either way the file at
// the target is never touched before Publish(), which replaces it in one rename.
class TTempFileBeside {
public:
    // Raises EFCreateError naming the target when its folder cannot take a new file, or
    // when the target exists and is not a regular file (a folder, a device).
    explicit TTempFileBeside(std::string target);
    ~TTempFileBeside();
    TTempFileBeside(const TTempFileBeside&) = delete;
    TTempFileBeside& operator=(const TTempFileBeside&) = delete;

    // A stream over the file for writing; error messages name the target.
    std::unique_ptr<TFileStream> OpenStream() const;
    // Gives the file the target's name (and the permissions of the file it replaces, or the
    // usual ones of a new file), forcing it to disk first when `sync` is set.
    void Publish(bool sync);

private:
    std::string target_;
    std::string path_; // empty while the file has no name
    int fd_ = -1;
    bool published_ = false;
};

// Raises EFCreateError when `target` exists and is not a regular file, so that a device or
// a folder is never replaced by an archive.
void CheckReplaceableTarget(const std::string& target);

} // namespace folivane::zip
