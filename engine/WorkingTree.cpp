// A job's private folder: made with mkdtemp, locked while in use, removed whole.
#include "WorkingTree.h"

#include "platform/FileStatus.h"
#include "platform/FolderTree.h"
#include "platform/SystemError.h"
#include "platform/TempFolder.h"

#include <ctime>

namespace folivane::engine {
namespace {

constexpr const char* kTreePrefix = "folivane-";
constexpr const char* kLockName = ".lock";
// A folder without its lock, or with a lock not yet taken, is younger than this only while
// its job is still starting.
constexpr std::time_t kUnlockedGraceSeconds = 60;

} // namespace

std::string TempFolderPath() {
    return platform::SystemTempFolder();
}

WorkingTree PrepareWorkingTree(const std::string& tempFolderPath) {
    WorkingTree tree;
    std::string pattern = tempFolderPath + kTreePrefix + "XXXXXX";
    if (const int error = platform::MakeUniqueFolder(pattern); error != 0) {
        tree.error_ = "Cannot create a working folder in \"" + tempFolderPath + "\". " +
                      platform::SystemErrorText(error);
        return tree;
    }
    const std::string root = pattern + "/";
    tree.root_ = root;
    // The lock tells a later start of the program that this folder is still in use.
    int error = tree.lock_.Take(root + kLockName);
    if (error == 0) error = platform::MakeFolder(root + "EPUB_TXT");
    if (error != 0) {
        tree.Remove();
        tree.error_ = "Cannot prepare the working folder \"" + root + "\". " +
                      platform::SystemErrorText(error);
    }
    return tree;
}

WorkingTree::WorkingTree(WorkingTree&& other) noexcept
    : root_(std::move(other.root_)), error_(std::move(other.error_)),
      lock_(std::move(other.lock_)) {
    other.root_.clear();
}

WorkingTree& WorkingTree::operator=(WorkingTree&& other) noexcept {
    if (this != &other) {
        Remove();
        root_ = std::move(other.root_);
        error_ = std::move(other.error_);
        lock_ = std::move(other.lock_);
        other.root_.clear();
    }
    return *this;
}

WorkingTree::~WorkingTree() {
    Remove();
}

void WorkingTree::Remove() {
    if (!root_.empty()) {
        // The lock goes last: a job killed while it removes its folder leaves a folder that
        // a later start sweeps, or an empty one.
        DeleteFolderTree(BookFolder());
        DeleteFolderTree(PieceFolder());
        lock_.Remove();
        DeleteFolderTree(root_);
    }
    root_.clear();
    lock_.Release();
}

bool DeleteFolderTree(const std::string& path) {
    return platform::RemoveFolderTree(path);
}

int RemoveStaleWorkingTrees(const std::string& tempFolderPath) {
    const auto names = platform::FolderNames(tempFolderPath);
    if (!names) return 0;
    int removed = 0;
    const std::string prefix = kTreePrefix;
    for (const std::string& name : *names) {
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() != prefix.size() + 6)
            continue;
        const std::string root = tempFolderPath + name;
        const auto status = platform::LinkStatus(root);
        if (!status || !status->IsFolder() || status->owner != platform::EffectiveUser()) continue;
        const bool old = std::time(nullptr) - status->modified > kUnlockedGraceSeconds;
        using State = platform::FolderLock::State;
        switch (platform::FolderLock::Probe(root + "/" + kLockName)) {
        case State::Missing:
            // No working folder of this program, whose lock comes first and goes last, or
            // one whose job was killed before it made the lock: only an empty one goes, so
            // that a folder of the user's that happens to match the name is never touched.
            if (old && platform::RemoveFolder(root) == 0) ++removed;
            break;
        case State::Released:
            if (DeleteFolderTree(root)) ++removed;
            break;
        case State::NotTaken:
            // Its job may be about to take it.
            if (old && DeleteFolderTree(root)) ++removed;
            break;
        case State::Held:
        case State::NotOurs:
            break;
        }
    }
    return removed;
}

} // namespace folivane::engine
