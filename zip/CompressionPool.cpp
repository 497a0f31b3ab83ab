// Worker loop of the compression pool.
#include "CompressionPool.h"

#include <system_error>

namespace folivane::zip {

TCompressionPool::TCompressionPool(unsigned threads, int level) {
    deflaters_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
        deflaters_.push_back(std::make_unique<TWholeDeflater>(level));
        deflaters_.back()->Prepare();
    }
    workers_.reserve(threads);
    try {
        for (unsigned i = 0; i < threads; ++i)
            workers_.emplace_back([this, &deflater = *deflaters_[i]] { Work(deflater); });
    } catch (const std::system_error&) {
        // No more threads to be had (a process limit, no memory for a stack): the pool works
        // with those that started, or none.
    }
}

TCompressionPool::~TCompressionPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void TCompressionPool::Work(TWholeDeflater& deflater) {
    while (true) {
        std::function<void(TWholeDeflater&)> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task(deflater); // a packaged task keeps its exception for the future
    }
}

} // namespace folivane::zip
