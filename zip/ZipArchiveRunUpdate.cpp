// The update path: old entries carried over as raw bytes or replaced by newer files.
#include "ZipArchiveRun.h"

#include "ArchiveOutput.h"
#include "Bytes.h"
#include "DosDateTime.h"
#include "ZipErrors.h"
#include "ZipWriter.h"

#include <algorithm>
#include <unordered_map>

namespace folivane::zip {
namespace {

constexpr std::size_t kCopyPiece = 16384;

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Reads `count` bytes at `position` of the old archive, or raises EBadZipFile when the
// file ends first.
std::string ReadOld(TStream& archive, std::uint64_t position, std::size_t count) {
    std::string bytes(count, '\0');
    archive.SetPosition(static_cast<std::int64_t>(position));
    if (archive.Read(bytes.data(), static_cast<std::int64_t>(count)) !=
        static_cast<std::int64_t>(count))
        throw EBadZipFile();
    return bytes;
}

// The comment of an old entry, read from its central header.
std::string ReadEntryComment(TStream& archive, const TZipHeaderInfo& header) {
    // The reader only views the bytes: they must outlive it.
    const std::string image = ReadOld(archive, header.CentralHeaderPosition, kCentralHeaderSize);
    RecordReader fixed(image);
    fixed.Skip(28);
    const std::uint16_t nameLength = fixed.U16();
    const std::uint16_t extraLength = fixed.U16();
    const std::uint16_t commentLength = fixed.U16();
    return ReadOld(archive,
                   header.CentralHeaderPosition + kCentralHeaderSize + nameLength + extraLength,
                   commentLength);
}

} // namespace

void TZipArchiveRun::MergeExistingEntries() {
    TLFNFileStream& archive = *writer_.ArchiveStream();
    // Keep the archive's comment; a comment known only by its length is read now.
    TEndCentral& end = writer_.currentEndRecord_;
    if (end.CommentLength != 0 && !end.ArchiveComment()) {
        const auto available = static_cast<std::uint64_t>(archive.Size()) - end.CommentPosition;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(end.CommentLength, available));
        end.SetArchiveComment(ReadOld(archive, end.CommentPosition, length));
        end.Modified = false;
    }
    newEnd_.Assign(end);
    newEnd_.EntriesThisDisk = 0;
    newEnd_.TotalEntries = 0;
    newEnd_.Modified = false;

    // Each line's stored name, the way AddFileEntry would name it, lower-cased.
    const StoredNameRules rules = writer_.NameRules();
    std::unordered_map<std::string, std::size_t> lineByName;
    std::vector<std::string>& files = writer_.FilesList;
    for (std::size_t i = files.size(); i-- > 0;) {
        const StoredName name = DeriveStoredName(files[i], rules);
        lineByName[LowerAscii(name.directory + name.fileName)] = i; // the first line wins
    }
    std::vector<bool> consumed(files.size(), false);
    // The same for the entries given in memory, by their names.
    std::unordered_map<std::string, std::size_t> memoryByName;
    std::vector<TMemoryEntry>& memory = writer_.MemoryEntries;
    for (std::size_t i = memory.size(); i-- > 0;) {
        const StoredName name = SplitStoredName(memory[i].name, writer_.OEMConvert);
        memoryByName[LowerAscii(name.directory + name.fileName)] = i;
    }
    std::vector<bool> memoryConsumed(memory.size(), false);
    // Whether an old entry dated `entryTime` gives way to a newer one dated `newTime`.
    const auto replaces = [&](std::uint32_t entryTime, std::uint32_t newTime) {
        if (writer_.ZipAction == zaReplace) return true;
        return DosDateTimeKey(entryTime).value_or(CurrentDosDateTimeKey()) <
               DosDateTimeKey(newTime).value_or(CurrentDosDateTimeKey());
    };

    const std::vector<HeaderPtr> oldEntries(writer_.archiveDirectory_->begin(),
                                            writer_.archiveDirectory_->end());
    for (const HeaderPtr& old : oldEntries) {
        writer_.CheckPoint();
        auto header = std::make_shared<TZipHeaderInfo>();
        header->OemMode = old->OemMode; // the name goes back in the encoding it came in
        header->Assign(*old);
        if (header->CommentLength != 0 && !header->FileComment())
            header->SetFileComment(ReadEntryComment(archive, *header));

        const std::string lowered = LowerAscii(header->StoredName());
        const auto line = lineByName.find(lowered);
        const auto given = memoryByName.find(lowered);
        if (line != lineByName.end() && !consumed[line->second]) {
            const std::string& path = files[line->second];
            consumed[line->second] = true;
            const bool replace = writer_.ZipAction == zaReplace ||
                                 replaces(header->FileDateTime, FileDosDateTime(path));
            // A file that cannot be read leaves the old entry in place rather than losing it.
            if (replace && AddFileEntry(path)) continue;
        } else if (given != memoryByName.end() && !memoryConsumed[given->second]) {
            TMemoryEntry& entry = memory[given->second];
            memoryConsumed[given->second] = true;
            if (replaces(header->FileDateTime, DosDateTimeFromTime(entry.modified)) &&
                AddMemoryEntry(entry))
                continue;
        }
        CopyKeptEntry(*header);
        std::size_t index = 0;
        if (!nameIndex_.Find(*header, index)) nameIndex_.Add(header);
        AcceptEntry(header, false);
    }

    std::vector<std::string> remaining;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!consumed[i]) remaining.push_back(std::move(files[i]));
    files = std::move(remaining);
    std::vector<TMemoryEntry> remainingMemory;
    for (std::size_t i = 0; i < memory.size(); ++i)
        if (!memoryConsumed[i]) remainingMemory.push_back(std::move(memory[i]));
    memory = std::move(remainingMemory);
}

void TZipArchiveRun::CopyKeptEntry(TZipHeaderInfo& header) {
    TLFNFileStream& archive = *writer_.ArchiveStream();
    const std::string image = ReadOld(archive, header.LocalHeaderOffset, kLocalHeaderSize);
    RecordReader local(image);
    if (local.U32() != kLocalHeaderSignature) throw EBadZipFile();
    local.Skip(22);
    const std::uint16_t nameLength = local.U16();
    const std::uint16_t extraLength = local.U16();
    const std::uint64_t dataStart = header.LocalHeaderOffset + kLocalHeaderSize + nameLength;
    const std::uint64_t toCopy = std::uint64_t{extraLength} + header.CompressedSize;
    if (dataStart + toCopy > writer_.currentEndRecord_.CentralOffset) throw EBadZipFile();
    header.LocalExtraLength = extraLength;
    header.Flags &= static_cast<std::uint16_t>(~kFlagDataDescriptor); // it stays behind
    if (entryList_->Count() >= kMaxEntries)
        throw EZipException("Cannot keep \"" + header.StoredName() +
                            "\": archives of 65,535 entries or more need Zip64, which is not "
                            "supported");
    header.SaveLocalHeader(*output_);
    archive.SetPosition(static_cast<std::int64_t>(dataStart));
    std::vector<char> piece(kCopyPiece);
    for (std::uint64_t left = toCopy; left > 0;) {
        const auto n = static_cast<std::int64_t>(std::min<std::uint64_t>(left, kCopyPiece));
        if (archive.Read(piece.data(), n) != n) throw EBadZipFile();
        WriteArchiveBytes(*output_, piece.data(), n);
        left -= static_cast<std::uint64_t>(n);
    }
}

} // namespace folivane::zip
