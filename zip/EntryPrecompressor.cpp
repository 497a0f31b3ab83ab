// Compressing handed-over entries on a pool, and handing them to the archive run.
#include "EntryPrecompressor.h"

#include <thread>

namespace folivane::zip {
namespace {

// Entries this small cost less to compress than to hand to another thread and back.
constexpr std::size_t kTinyEntrySize = 4u << 10;
// Input waiting per thread: enough that no thread runs dry while the maker builds the next
// entries, even when they are small; more would only hold input in memory.
constexpr std::size_t kWaitingBytesPerThread = 512u << 10;
// Threads cost more to start, and to wait for on a busy machine, than a small book takes to
// compress on the calling thread: they start once this much has been handed over.
constexpr std::size_t kPoolThreshold = 512u << 10;

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
    Entry entry;
    entry.size = data.size();
    if (!pool_ || data.size() < kTinyEntrySize) {
        CompressedEntry result;
        result.data = deflater_->Deflate(data, result.bytes);
        entry.ready = std::move(result);
        entries_[path] = std::move(entry);
        return;
    }
    // The window counts bytes, not entries: with a few entries of a few KiB in flight the
    // threads would sleep and wake for every one.
    const std::size_t window = kWaitingBytesPerThread * static_cast<std::size_t>(pool_->Threads());
    while (!waiting_.empty() && waitingBytes_ + data.size() > window) {
        const auto oldest = entries_.find(waiting_.front().path);
        if (oldest != entries_.end() && oldest->second.compressed.valid())
            oldest->second.compressed.wait();
        waitingBytes_ -= waiting_.front().size;
        waiting_.pop_front();
    }
    waitingBytes_ += data.size();
    waiting_.push_back({path, data.size()});
    entry.compressed = pool_->Submit([data = std::move(data)](TWholeDeflater& deflater) {
        CompressedEntry result;
        result.data = deflater.Deflate(data, result.bytes);
        return result;
    });
    entries_[path] = std::move(entry);
}

std::optional<CompressedEntry> TEntryPrecompressor::Take(const std::string& path,
                                                         std::uint64_t size) {
    const auto found = entries_.find(path);
    if (found == entries_.end() || found->second.size != size) return std::nullopt;
    Entry entry = std::move(found->second);
    entries_.erase(found);
    if (entry.ready) return std::move(entry.ready);
    if (!entry.compressed.valid()) return std::nullopt;
    return entry.compressed.get();
}

} // namespace folivane::zip
