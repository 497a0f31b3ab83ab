// A fixed set of worker threads that compress entries while the archive is written.
#pragma once

#include "WholeDeflater.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace folivane::zip {

// Tasks run in the order submitted, each given its worker's whole-entry deflater (at `level`,
// kept for the worker's life). Threads that cannot be started are done without:
// Threads() says how many there are, possibly none. Freeing the pool drops the tasks not yet
// started (their futures report a broken promise) and waits for the running ones, so a
// task must own everything else it uses.
class TCompressionPool {
public:
    TCompressionPool(unsigned threads, int level);
    ~TCompressionPool();
    TCompressionPool(const TCompressionPool&) = delete;
    TCompressionPool& operator=(const TCompressionPool&) = delete;

    template <class Function>
    auto Submit(Function function)
        -> std::future<decltype(function(std::declval<TWholeDeflater&>()))> {
        using Result = decltype(function(std::declval<TWholeDeflater&>()));
        auto task =
            std::make_shared<std::packaged_task<Result(TWholeDeflater&)>>(std::move(function));
        std::future<Result> future = task->get_future();
        {
            std::lock_guard lock(mutex_);
            queue_.emplace_back([task](TWholeDeflater& deflater) { (*task)(deflater); });
        }
        wake_.notify_one();
        return future;
    }

    unsigned Threads() const { return static_cast<unsigned>(workers_.size()); }

private:
    void Work(TWholeDeflater& deflater);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void(TWholeDeflater&)>> queue_;
    // One per worker, set up by the thread that makes the pool: the state comes from its heap,
    // which a program may have set up to fault in cheaply, not from a fresh one of the worker.
    std::vector<std::unique_ptr<TWholeDeflater>> deflaters_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace folivane::zip
