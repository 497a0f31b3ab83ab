// The private folder a conversion works in, under the system's temporary folder.
#pragma once

#include "engine/chapters/ChapterList.h"
#include "engine/text/Failure.h"

#include "platform/DescriptorReserve.h"
#include "platform/FolderLock.h"

#include <cerrno>
#include <optional>
#include <string>

namespace folivane::engine {

// The system's temporary folder ($TMPDIR, else /tmp), ending with "/".
std::string TempFolderPath();

// One job's folder, made only when the job first needs it: when the chapter list keeps a
// piece of a text too large to hold (ChapterListOptions::heldTextBudget). A book of ordinary
// size is made in memory and never makes it. It is made as mkdtemp would (mode 01700) under
// the temporary folder, holds "EPUB_TXT" (those pieces) and is removed whole when the object
// goes, also when the job has run out of descriptors. A lock held for the object's life
// tells other processes that the folder is in use. Move-only.
class WorkingTree : public PieceStore {
public:
    WorkingTree() = default;
    WorkingTree(WorkingTree&& other) noexcept;
    WorkingTree& operator=(WorkingTree&& other) noexcept;
    WorkingTree(const WorkingTree&) = delete;
    WorkingTree& operator=(const WorkingTree&) = delete;
    ~WorkingTree() override;

    // False for a tree that was never prepared, and once its folder could not be made;
    // Error() then says why.
    bool Valid() const { return !tempFolder_.empty() && !error_; }
    // Why the folder could not be made (WorkingFolderNotMade, WorkingFolderNotReady), for a
    // tree that is not Valid(); one that was never prepared has no temporary folder (EINVAL).
    Failure Error() const {
        return error_.value_or(Failure{
            .kind = FailureKind::WorkingFolderNotMade, .path = tempFolder_, .cause = EINVAL});
    }
    // Whether the folder is made.
    bool Made() const { return !root_.empty(); }
    // Makes the folder with its lock and "EPUB_TXT" unless it is made already. False when it
    // cannot be: the tree is then no longer Valid() and Error() says why, and nothing of it
    // is left.
    bool Make();
    const std::string& Root() const { return root_; } // ends with "/"; empty until made
    std::string PieceFolder() const { return root_ + "EPUB_TXT/"; }

    // Removes the folder with everything in it now, its lock last: when anything cannot be
    // removed, the lock stays (let go), so that a later start sweeps what is left.
    void Remove();

    // Makes the folder when it is not made yet, then writes the piece into "EPUB_TXT", under
    // a name of the source's index and the piece's number, so that the pieces of sources of
    // the same name never meet. Raises ConversionError with Error() when the folder cannot be
    // made; a failure to write names the source and the temporary folder, never the piece's
    // own path.
    std::string Keep(std::size_t sourceIndex, int number, std::string_view piece,
                     const std::string& sourcePath) override;

private:
    friend WorkingTree PrepareWorkingTree(const std::string& tempFolderPath);
    std::string tempFolder_;
    std::string root_;
    std::optional<Failure> error_;
    platform::FolderLock lock_;
    // Descriptors kept for Remove(), which a job that ran out of them would lack.
    platform::DescriptorReserve spare_;
};

// A job's tree under `tempFolderPath`, whose folder is made when the job first needs one:
// nothing is made now. Never raises.
WorkingTree PrepareWorkingTree(const std::string& tempFolderPath);

// Removes working folders under `tempFolderPath` that this user's earlier, killed jobs
// left behind: only folders that carry this program's lock, held by no job (a lock never
// taken counts once its folder is a minute old). Folders of running or starting jobs are
// kept, links are never followed, and a matching folder without a lock is never emptied (it
// may be the user's): only when it is empty, a minute old and of the working folders' own
// mode is it removed, as a job killed before it made its lock leaves it. Returns how many
// went.
int RemoveStaleWorkingTrees(const std::string& tempFolderPath);

} // namespace folivane::engine
