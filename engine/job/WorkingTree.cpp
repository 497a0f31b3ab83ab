// A job's private folder: made with mkdtemp, locked while in use, removed whole.
#include "WorkingTree.h"

#include "DocumentWriter.h"

#include "engine/text/ConversionError.h"

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
// What removing the folder holds at most (platform::EmptyFolder), kept back for Remove().
constexpr std::size_t kSpareDescriptors = 3;
// Private to the user, and with the sticky bit, which no one gives a private folder for a
// reason: a job killed before it made its lock leaves a folder still known as ours by it.
constexpr unsigned kTreeMode = 01700;

// Removes a job's folder, its lock last: the lock goes only once everything else has gone,
// so that a folder left half removed (a failure, a kill) still carries the lock that lets a
// later start sweep it. Returns whether it all went.
bool RemoveJobFolder(const std::string& root, platform::FolderLock* held) {
    // A folder whose lock could not be made is empty, and goes even when no descriptor is left.
    if (platform::RemoveFolder(root) == 0) return true;
    if (!platform::EmptyFolder(root, {kLockName})) return false;
    const bool lockGone = held ? held->Remove() == 0 : platform::RemoveFolderTree(root + kLockName);
    return lockGone && platform::RemoveFolder(root) == 0;
}

} // namespace

std::string TempFolderPath() {
    return platform::SystemTempFolder();
}

WorkingTree PrepareWorkingTree(const std::string& tempFolderPath) {
    WorkingTree tree;
    tree.tempFolder_ = tempFolderPath;
    return tree;
}

bool WorkingTree::Make() {
    if (!root_.empty()) return true;
    if (!Valid()) return false;
    std::string pattern = tempFolder_ + kTreePrefix + "XXXXXX";
    if (const int error = platform::MakeUniqueFolder(pattern, kTreeMode); error != 0) {
        error_ =
            Failure{.kind = FailureKind::WorkingFolderNotMade, .path = tempFolder_, .cause = error};
        return false;
    }
    const std::string root = pattern + "/";
    const auto failed = [&](int error) {
        error_ = Failure{.kind = FailureKind::WorkingFolderNotReady, .path = root, .cause = error};
        return false;
    };
    // The lock, first, tells a later start of the program that this folder is still in use.
    // Until the spare descriptors are had the folder holds nothing else, and then goes by its
    // name alone: out of descriptors (ulimit -n), no more are needed for that.
    int error = lock_.Take(root + kLockName);
    if (error == 0) error = spare_.Take(kSpareDescriptors);
    if (error != 0) {
        if (lock_.Remove() == 0) static_cast<void>(platform::RemoveFolder(root));
        return failed(error);
    }
    root_ = root;
    if (error = platform::MakeFolder(root + "EPUB_TXT"); error != 0) {
        Remove();
        return failed(error);
    }
    return true;
}

WorkingTree::WorkingTree(WorkingTree&& other) noexcept
    : tempFolder_(std::move(other.tempFolder_)), root_(std::move(other.root_)),
      error_(std::move(other.error_)), lock_(std::move(other.lock_)),
      spare_(std::move(other.spare_)) {
    other.tempFolder_.clear();
    other.root_.clear();
}

WorkingTree& WorkingTree::operator=(WorkingTree&& other) noexcept {
    if (this != &other) {
        Remove();
        tempFolder_ = std::move(other.tempFolder_);
        root_ = std::move(other.root_);
        error_ = std::move(other.error_);
        lock_ = std::move(other.lock_);
        spare_ = std::move(other.spare_);
        other.tempFolder_.clear();
        other.root_.clear();
    }
    return *this;
}

WorkingTree::~WorkingTree() {
    Remove();
}

void WorkingTree::Remove() {
    spare_.Release();
    // Should the removal lack descriptors all the same, the one the lock holds may be what it
    // lacks: let it go and try once more. The lock file goes last all the same.
    if (!root_.empty() && !RemoveJobFolder(root_, &lock_)) {
        lock_.Release();
        RemoveJobFolder(root_, nullptr);
    }
    root_.clear();
    lock_.Release();
}

std::string WorkingTree::Keep(std::size_t sourceIndex, int number, std::string_view piece,
                              const std::string& sourcePath) {
    if (!Make()) throw ConversionError(Error());
    const std::string path =
        PieceFolder() + std::to_string(sourceIndex) + "-" + std::to_string(number) + ".txt";
    WriteWorkingFile(
        PieceFolder(), path, piece,
        {.kind = FailureKind::PieceNotKept, .path = platform::ExpandFileName(sourcePath)});
    return path;
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
        case State::Released:
            if (RemoveJobFolder(root + "/", nullptr)) ++removed;
            break;
        case State::NotTaken:
            // Its job may be about to take it.
            if (old && RemoveJobFolder(root + "/", nullptr)) ++removed;
            break;
        case State::Missing:
            // Only a folder that carries this program's lock is proven to be one of its own:
            // this may be a folder of the user's that happens to match the name. A job killed
            // before it made its lock leaves its folder empty and of the working folders' own
            // mode: such a folder goes once old, by rmdir, which can take nothing with it.
            if (old && status->mode == kTreeMode && platform::RemoveFolder(root) == 0) ++removed;
            break;
        case State::Held:
        case State::NotOurs:
            break;
        }
    }
    return removed;
}

} // namespace folivane::engine
