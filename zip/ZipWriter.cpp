// The zip component's settings and its archive job, BuildArchive.
#include "ZipWriter.h"

#include "DosDateTime.h"
#include "EntryPrecompressor.h"
#include "ZipArchiveRun.h"

#include "platform/FileStatus.h"

#include <iostream>

namespace folivane::zip {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

TZipWriter::TZipWriter() = default;
TZipWriter::~TZipWriter() = default;

void TZipWriter::SetRootDir(const std::string& root) {
    rootDir_ = IncludeTrailingSlash(root);
    relativePathList_.assign(1, rootDir_);
}

void TZipWriter::SetStorePaths(bool value) {
    storePaths_ = value;
    if (!value) {
        storeVolumes_ = false;
        relativePaths_ = false;
    }
}

void TZipWriter::SetRelativePaths(bool value) {
    relativePaths_ = value;
    if (value) {
        storePaths_ = true;
        recurse_ = true;
    }
}

void TZipWriter::SetStoreVolumes(bool value) {
    storeVolumes_ = value;
    if (value) storePaths_ = true;
}

void TZipWriter::SetAttributeBit(std::uint32_t bit, bool value) {
    searchAttributes_ = value ? (searchAttributes_ | bit) : (searchAttributes_ & ~bit);
}

StoredNameRules TZipWriter::NameRules() const {
    return {storePaths_, relativePaths_, storeVolumes_, relativePathList_, OEMConvert};
}

int TZipWriter::BuildArchive() {
    if (Trimmed(zipName_).empty()) return 0;
    const TZipSortMode savedSortMode = SortMode;
    const bool savedKeepZipOpen = KeepZipOpen;
    SortMode = ByNone;
    KeepZipOpen = true;
    // Whatever way the run ends.
    const auto restore = [&] {
        SortMode = savedSortMode;
        KeepZipOpen = savedKeepZipOpen;
        FilesList.clear();
        MemoryEntries.clear();
        handedOverNames_.clear();
        if (!KeepZipOpen) CloseArchiveStream();
    };
    int added = 0;
    try {
        if (!FilesList.empty()) ExpandFileList();
        TZipArchiveRun run(*this);
        added = run.Execute();
        // The writer's view of the archive becomes the new one.
        currentEndRecord_.Assign(run.NewEndRecord());
        archiveDirectory_ = run.TakeEntryList();
    } catch (...) {
        restore();
        throw;
    }
    archiveFileDate_ = FileDosDateTime(zipName_);
    archiveStamp_ = StampOf(platform::StatPath(zipName_));
    restore();
    return added;
}

void TZipWriter::AddMemoryEntry(std::string name, std::string bytes, std::time_t modified) {
    TMemoryEntry entry;
    entry.size = bytes.size();
    entry.modified = modified;
    const bool stored = PackLevel == 0 || IsNoCompressFile(NoCompressList, name);
    // A name given twice is left out by the run: its bytes stay here, where the run finds
    // them to report it, and only the first of the name is compressed ahead.
    if (!stored && Precompressed && Precompressed->Level() == PackLevel &&
        handedOverNames_.insert(name).second) {
        Precompressed->Add(name, std::move(bytes));
        entry.handedOver = true;
    } else {
        entry.bytes = std::move(bytes);
    }
    entry.name = std::move(name);
    MemoryEntries.push_back(std::move(entry));
}

void TZipWriter::ReportShrunk(const std::string& path, std::uint64_t sizeAtOpening,
                              std::uint64_t bytesRead) {
    ReportMessage(kMsgFileShrank,
                  "The file became shorter while it was read (" + std::to_string(sizeAtOpening) +
                      " bytes when opened, " + std::to_string(bytesRead) +
                      " read); the archive holds the bytes that were read.",
                  path, 0);
}

int TZipWriter::ReportMessage(int messageId, const std::string& text, const std::string& caption,
                              std::uint32_t flags) {
    if (OnHandleMessage) return OnHandleMessage(messageId, text, caption, flags);
    std::cerr << caption << ": " << text << '\n';
    return 1; // OK
}

} // namespace folivane::zip
