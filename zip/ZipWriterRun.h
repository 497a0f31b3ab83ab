// State of one run of the archive job; private to the writer's implementation files.
#pragma once

#include "CompressionPool.h"
#include "EndCentral.h"
#include "EntryCompressor.h"
#include "LFNFileStream.h"
#include "SortedZip.h"
#include "TempFileBeside.h"
#include "ZipWriter.h"

#include <deque>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace folivane::zip {

struct CompressedEntry {
    EntryData data;
    std::vector<std::uint8_t> bytes;
};

// A file accepted for the archive whose data is not written yet.
struct TZipWriter::PreparedEntry {
    HeaderPtr header;
    std::string path;
    std::unique_ptr<TLFNFileStream> source;
    bool stored = false;
    std::uint64_t sizeAtOpening = 0;
    std::future<CompressedEntry> compressed;
};

struct TZipWriter::Run {
    std::string outputPath;
    bool outputCreated = false; // the file at outputPath is ours to delete on failure
    bool updating = false;
    bool replaceAtEnd = false;
    std::unique_ptr<TTempFileBeside> beside; // the output, with AtomicReplace
    std::unique_ptr<TLFNFileStream> output;
    TSortedZip nameIndex{ByName};
    std::unique_ptr<TSortedZip> entryList;
    TEndCentral newEnd;
    int added = 0;
    std::unique_ptr<TDeflater> deflater; // for entries compressed on the calling thread
    std::unique_ptr<TCompressionPool> pool;
    std::deque<std::unique_ptr<PreparedEntry>> pending;
};

} // namespace folivane::zip
