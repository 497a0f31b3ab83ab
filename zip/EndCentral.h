// The end-of-central-directory record: where the directory is and how many entries it has.
#pragma once

#include "Stream.h"
#include "ZipFormat.h"

#include <cstdint>
#include <optional>
#include <string>

namespace folivane::zip {

class TEndCentral {
public:
    TEndCentral() { Clear(); }

    void Clear();
    void Assign(const TEndCentral& other);
    // Writes the 22-byte image, then the comment when one is held.
    void SaveEndRecord(TStream& archive) const;
    // Looks for the record in the last 65,557 bytes of the stream and loads it. Prefers
    // the record nearest to the end whose comment ends exactly at the end of the file, so
    // that a signature inside a comment is not taken for the record. An empty stream is
    // an archive without entries.
    bool FindEndRecord(TStream& archive);

    void SetArchiveComment(std::string comment);
    const std::optional<std::string>& ArchiveComment() const { return comment_; }

    std::uint32_t Signature;
    std::uint16_t ThisDisk;
    std::uint16_t CentralStartDisk;
    std::uint16_t EntriesThisDisk;
    std::uint16_t TotalEntries;
    std::uint32_t CentralSize;
    std::uint32_t CentralOffset;
    std::uint16_t CommentLength;
    std::uint64_t CommentPosition; // where the comment stands in the file it was read from
    bool Modified;

private:
    std::optional<std::string> comment_;
};

} // namespace folivane::zip
