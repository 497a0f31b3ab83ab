// Worker loop of the compression pool.
#include "CompressionPool.h"

namespace folivane::zip {

TCompressionPool::TCompressionPool(unsigned threads, int level) : level_(level) {
    workers_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        workers_.emplace_back([this] { Work(); });
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

void TCompressionPool::Work() {
    TDeflater deflater(level_);
    while (true) {
        std::function<void(TDeflater&)> task;
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
