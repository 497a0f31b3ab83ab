// Entries compressed ahead of the archive run, while their maker is still at work.
#pragma once

#include "CompressionPool.h"
#include "ZipArchiveRun.h"

#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace folivane::zip {

// Data handed over under a key is compressed at once, on threads of its own. The key is the
// path of the file the data was written to, or the archive name of an entry given in memory
// (TZipWriter::AddMemoryEntry): a later archive run of a writer given this object takes those
// bytes for the file at that path, when the file still has the data's size, instead of
// reading and compressing it again, and for the memory entry of that name. The bytes are the
// ones the run would make itself, so the archive does not change. Add and Take are called
// from one thread.
class TEntryPrecompressor {
public:
    // `threads` 0: one per core; 1: compressed at once on the calling thread. The threads
    // start once a little has been handed over: a tiny book is compressed on the calling
    // thread, with no thread to start or wait for.
    explicit TEntryPrecompressor(int level, unsigned threads = 0);
    ~TEntryPrecompressor();
    TEntryPrecompressor(const TEntryPrecompressor&) = delete;
    TEntryPrecompressor& operator=(const TEntryPrecompressor&) = delete;

    int Level() const { return level_; }
    // Its threads and the calling thread's deflater, for an archive run at the same level to
    // use instead of starting its own: each costs memory to set up. The pool is null until
    // the threads start, and when none could.
    TCompressionPool* Pool() const { return pool_.get(); }
    TWholeDeflater& Deflater() { return *deflater_; }
    // Hands over the bytes of the file at `key` (or of the memory entry of that name). Small
    // entries go to the threads in batches, so that pages of a few KiB cost one hand-over
    // per batch, not one each. Waits while more than a few handed-over entries wait for
    // their turn, so that memory holds compressed data, not its input: the input goes as
    // soon as it is compressed.
    void Add(const std::string& key, std::string data);
    // The compressed entry of `key` when its data was handed over and has `size` bytes,
    // once it is ready; nothing otherwise. Each entry is taken once.
    std::optional<CompressedEntry> Take(const std::string& key, std::uint64_t size);

private:
    // Entries compressed together by one task, in the order they were handed over.
    struct Batch {
        std::vector<std::string> inputs;
        std::size_t bytes = 0;
        std::future<std::vector<CompressedEntry>> compressed;
        std::vector<CompressedEntry> results; // once the future has given them
        bool submitted = false;
    };
    struct Entry {
        std::uint64_t size = 0;
        std::optional<CompressedEntry> ready;
        std::shared_ptr<Batch> batch; // null when ready
        std::size_t index = 0;        // in the batch
    };

    void Submit(std::shared_ptr<Batch> batch);
    static void Finish(Batch& batch);

    int level_;
    unsigned threads_;
    std::size_t handedOver_ = 0; // bytes handed over so far
    bool poolTried_ = false;
    std::unique_ptr<TCompressionPool> pool_;
    std::unique_ptr<TWholeDeflater> deflater_; // for all entries without a pool
    std::unordered_map<std::string, Entry> entries_;
    std::shared_ptr<Batch> gathering_;           // small entries not yet handed to the threads
    std::deque<std::shared_ptr<Batch>> waiting_; // whose compression may not have started
    std::size_t waitingBytes_ = 0;
};

} // namespace folivane::zip
