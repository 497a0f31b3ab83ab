// The lock file that tells other processes a folder is in use.
#pragma once

#include "FileDescriptor.h"

#include <string>

namespace folivane::platform {

// A file made with O_EXCL and held with an exclusive flock for its owner's life. Once
// taken it holds one byte, so that a prober tells a lock that was released (its owner
// ended or was killed) from one not taken yet (its owner is still starting). Move-only.
class FolderLock {
public:
    enum class State {
        Missing,  // no lock file
        NotOurs,  // a lock file that cannot be opened or probed (a link, another user's)
        Held,     // a running process holds it
        Released, // taken once, held by nobody now
        NotTaken, // made, never taken: its owner may be starting
    };

    FolderLock() = default;

    // Makes the lock file at `path` and takes it, waiting while a prober holds it for a
    // moment. 0, or the errno of the step that failed; on failure nothing is left at `path`.
    [[nodiscard]] int Take(const std::string& path);
    bool Held() const { return fd_.Valid(); }
    const std::string& Path() const { return path_; }

    // Removes the lock file and lets the lock go. 0, or the errno of the removal; the lock
    // is let go either way.
    [[nodiscard]] int Remove();
    // Lets the lock go and leaves the file.
    void Release() { fd_.Close(); }

    // What the lock file at `path` says. A probe that finds it free holds it for a moment.
    static State Probe(const std::string& path);

private:
    std::string path_;
    FileDescriptor fd_;
};

} // namespace folivane::platform
