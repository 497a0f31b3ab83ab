// A new file that takes the place of a target path only once it is complete.
#pragma once

#include "FileDescriptor.h"
#include "FileStatus.h"

#include <functional>
#include <string>

namespace folivane::platform {

// Where the file system allows, the file has no name until Publish() (O_TMPFILE), so a
// process killed while writing it leaves nothing behind; elsewhere it is a hidden, uniquely
// named file beside the target that the destructor removes unless it was published. Either
// way the file at the target is never touched before Publish(), which replaces it in one
// rename on the same file system. The one way files of this program are put in place. The
// file's hidden name marks it as this program's, and the object holds a lock on the file
// for its life, so that RemoveAbandonedReplacements can tell what a killed process left.
class ReplacementFile {
public:
    // Raises EFCreateError naming the target when its folder cannot take a new file, or
    // when the target exists and is not a regular file (a folder, a device).
    explicit ReplacementFile(std::string target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    const std::string& Target() const { return target_; }
    // The file, open for reading and writing; valid until the object goes.
    int Descriptor() const { return fd_.Get(); }
    // A second descriptor of the file for a writer that closes its own; raises EFCreateError.
    FileDescriptor Duplicate() const;
    // Gives the file the target's name (and the permissions of the file it replaces, or the
    // usual ones of a new file), forcing it to disk first when `sync` is set. Raises
    // EFCreateError naming the target, or EWriteError when the data cannot reach the disk;
    // the target is then as it was and nothing is left beside it.
    void Publish(bool sync);

private:
    std::string target_;
    std::string path_; // empty while the file has no name
    FileDescriptor fd_;
    bool published_ = false;
};

// Raises EFCreateError when `target` exists and is not a regular file, so that a device or
// a folder is never replaced by a file.
void CheckReplaceableTarget(const std::string& target);

// Raises EStreamError (ReplaceProtected, or Create for a cause other than the file's
// permissions) naming `target` when it exists and this process could not write to it
// (a write-protected file, another user's), judged as an open would judge it: such a file is
// refused as cp refuses it, though a rename in a folder of the user's could replace it.
void CheckWritableTarget(const std::string& target);

// Whether a hidden file that carries a replacement's mark and that no process holds is what a
// killed process was writing, judged from its content; it gets the file, open for reading at
// its start, and its status.
using AbandonedCheck = std::function<bool(const FileDescriptor& file, const FileStatus& status)>;

// Removes the hidden files beside `target` that replacements of it left when their process
// was killed (between the link and the rename of Publish, or while writing where files
// have no unnamed stage): only regular files of this user's with the mark of a replacement of
// `target` in their name, held by no process, that `isAbandoned` accepts. Returns how many
// went.
int RemoveAbandonedReplacements(const std::string& target, const AbandonedCheck& isAbandoned);

// The process's file-creation mask, read without changing it.
unsigned CurrentUmask();

} // namespace folivane::platform
