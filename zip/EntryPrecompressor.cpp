// Compressing handed-over entries on a pool, and handing them to the archive run.
#include "EntryPrecompressor.h"

#include <thread>
#include <utility>

namespace folivane::zip {
namespace {

// Entries are handed to a thread in batches of about this much input: a page of a few KiB
// takes less time to compress than to pass to another thread and back, a batch does not.
constexpr std::size_t kBatchBytes = 64u << 10;
// Input waiting per thread: enough that no thread runs dry while the maker builds the next
// entries, even when they are small; more would only hold input in memory.
constexpr std::size_t kWaitingBytesPerThread = 512u << 10;
// Threads cost more to start than a tiny book takes to compress on the calling thread; past
// this much, the book is compressed on them from its first pages.
constexpr std::size_t kPoolThreshold = 64u << 10;
// Deflate's own framing of a small entry, beyond half its size.
constexpr std::size_t kRoomBeyondHalf = 64;

} // namespace

TEntryPrecompressor::TEntryPrecompressor(int level, unsigned threads)
    : level_(level), threads_(threads == 0 ? std::thread::hardware_concurrency() : threads) {
    deflater_ = std::make_unique<TWholeDeflater>(level);
}

TEntryPrecompressor::~TEntryPrecompressor() = default;

void TEntryPrecompressor::Add(const std::string& path, std::string data) {
    // Stored entries are read as they are; there is nothing to do ahead.
    if (level_ == 0) return;
    handedOver_ += data.size();
    if (!poolTried_ && threads_ > 1 && handedOver_ >= kPoolThreshold) {
        poolTried_ = true;
        pool_ = std::make_unique<TCompressionPool>(threads_, level_);
        if (pool_->Threads() == 0) pool_.reset();
    }
    // A key handed over again replaces its earlier data.
    entries_.erase(path);
    Entry entry;
    entry.size = data.size();
    if (!pool_) {
        CompressedEntry result;
        result.data = deflater_->Deflate(data, result.bytes);
        entry.ready = std::move(result);
        entries_[path] = std::move(entry);
        return;
    }
    if (!gathering_) gathering_ = std::make_shared<Batch>();
    entry.batch = gathering_;
    entry.index = gathering_->inputs.size();
    gathering_->bytes += data.size();
    gathering_->inputs.push_back(std::move(data));
    entries_[path] = std::move(entry);
    if (gathering_->bytes >= kBatchBytes) Submit(std::move(gathering_));
}

void TEntryPrecompressor::Submit(std::shared_ptr<Batch> batch) {
    if (gathering_ == batch) gathering_.reset();
    // The window counts bytes, not entries: with a few entries of a few KiB in flight the
    // threads would sleep and wake for every one.
    const std::size_t window = kWaitingBytesPerThread * static_cast<std::size_t>(pool_->Threads());
    while (!waiting_.empty() && waitingBytes_ + batch->bytes > window) {
        if (waiting_.front()->compressed.valid()) waiting_.front()->compressed.wait();
        waitingBytes_ -= waiting_.front()->bytes;
        waiting_.pop_front();
    }
    waitingBytes_ += batch->bytes;
    batch->submitted = true;
    // Room for the compressed bytes is made here, on the thread whose heap the program may
    // have set up to fault in cheaply, for as much as text compresses to; an entry that needs
    // more gets it on its worker.
    std::vector<CompressedEntry> results(batch->inputs.size());
    for (std::size_t i = 0; i < results.size(); ++i)
        results[i].bytes.reserve(batch->inputs[i].size() / 2 + kRoomBeyondHalf);
    batch->compressed =
        pool_->Submit([inputs = std::move(batch->inputs),
                       results = std::move(results)](TWholeDeflater& deflater) mutable {
            for (std::size_t i = 0; i < inputs.size(); ++i) {
                results[i].data = deflater.Deflate(inputs[i], results[i].bytes);
                std::string().swap(inputs[i]); // the input goes as soon as it is compressed
            }
            return std::move(results); // a capture is copied unless moved
        });
    waiting_.push_back(std::move(batch));
}

void TEntryPrecompressor::Finish(Batch& batch) {
    if (batch.compressed.valid()) batch.results = batch.compressed.get();
}

std::optional<CompressedEntry> TEntryPrecompressor::Take(const std::string& path,
                                                         std::uint64_t size) {
    const auto found = entries_.find(path);
    if (found == entries_.end() || found->second.size != size) return std::nullopt;
    Entry entry = std::move(found->second);
    entries_.erase(found);
    if (entry.ready) return std::move(entry.ready);
    if (!entry.batch) return std::nullopt;
    // The last entries handed over wait for a batch of their own: it goes now.
    if (!entry.batch->submitted) Submit(entry.batch);
    Finish(*entry.batch);
    if (entry.index >= entry.batch->results.size()) return std::nullopt;
    return std::move(entry.batch->results[entry.index]);
}

} // namespace folivane::zip
