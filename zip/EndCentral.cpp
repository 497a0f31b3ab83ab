// Writing the end record, and finding it at the tail of an existing archive.
#include "EndCentral.h"

#include "ArchiveOutput.h"
#include "Bytes.h"

#include <algorithm>
#include <vector>

namespace folivane::zip {

void TEndCentral::Clear() {
    Signature = kEndCentralSignature;
    ThisDisk = 0;
    CentralStartDisk = 0;
    EntriesThisDisk = 0;
    TotalEntries = 0;
    CentralSize = 0;
    CentralOffset = 0;
    CommentLength = 0;
    CommentPosition = 0;
    Modified = false;
    comment_.reset();
}

void TEndCentral::Assign(const TEndCentral& other) {
    Signature = other.Signature;
    ThisDisk = other.ThisDisk;
    CentralStartDisk = other.CentralStartDisk;
    EntriesThisDisk = other.EntriesThisDisk;
    TotalEntries = other.TotalEntries;
    CentralSize = other.CentralSize;
    CentralOffset = other.CentralOffset;
    CommentLength = other.CommentLength;
    comment_ = other.comment_;
    if (comment_) CommentLength = static_cast<std::uint16_t>(comment_->size());
    CommentPosition = other.CommentPosition;
}

void TEndCentral::SetArchiveComment(std::string comment) {
    comment.resize(std::min<std::size_t>(comment.size(), kMaxFieldLength));
    CommentLength = static_cast<std::uint16_t>(comment.size());
    if (comment.empty())
        comment_.reset();
    else
        comment_ = std::move(comment);
    Modified = true;
}

void TEndCentral::SaveEndRecord(TStream& archive) const {
    const bool withComment = CommentLength != 0 && comment_;
    RecordWriter record(kEndCentralSize + (withComment ? comment_->size() : 0));
    record.U32(Signature)
        .U16(ThisDisk)
        .U16(CentralStartDisk)
        .U16(EntriesThisDisk)
        .U16(TotalEntries)
        .U32(CentralSize)
        .U32(CentralOffset)
        .U16(withComment ? CommentLength : 0);
    if (withComment) record.Bytes(*comment_);
    WriteArchiveBytes(archive, record.Image());
}

bool TEndCentral::FindEndRecord(TStream& archive) {
    const std::int64_t size = archive.Size();
    if (size < kEndCentralSize) {
        if (size != 0) return false;
        Clear();
        return true;
    }
    const std::int64_t n = std::min<std::int64_t>(kMaxEndCentralSearch, size);
    std::vector<char> tail(static_cast<std::size_t>(n));
    archive.SetPosition(size - n);
    if (archive.Read(tail.data(), n) != n) return false;
    const std::string_view bytes(tail.data(), tail.size());
    std::int64_t found = -1;
    for (std::int64_t i = n - kEndCentralSize; i >= 0; --i) {
        const auto at = static_cast<std::size_t>(i);
        if (bytes[at] != 0x50 || bytes.substr(at, 4) != std::string_view("PK\x05\x06", 4)) continue;
        if (found < 0) found = i; // nearest to the end, taken when no record fits exactly
        RecordReader probe(bytes.substr(at + 20, 2));
        if (at + kEndCentralSize + probe.U16() == bytes.size()) {
            found = i;
            break;
        }
    }
    if (found < 0) return false;
    RecordReader record(bytes.substr(static_cast<std::size_t>(found), kEndCentralSize));
    Clear();
    Signature = record.U32();
    ThisDisk = record.U16();
    CentralStartDisk = record.U16();
    EntriesThisDisk = record.U16();
    TotalEntries = record.U16();
    CentralSize = record.U32();
    CentralOffset = record.U32();
    CommentLength = record.U16();
    CommentPosition = static_cast<std::uint64_t>(size - n + found + kEndCentralSize);
    return true;
}

} // namespace folivane::zip
