// A fixed set of worker threads that compress entries while the archive is written.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace folivane::zip {

// Tasks run in the order submitted. Freeing the pool drops the tasks not yet started
// (their futures report a broken promise) and waits for the running ones, so a task must
// own everything it uses.
class TCompressionPool {
public:
    explicit TCompressionPool(unsigned threads);
    ~TCompressionPool();
    TCompressionPool(const TCompressionPool&) = delete;
    TCompressionPool& operator=(const TCompressionPool&) = delete;

    template <class Function> auto Submit(Function function) -> std::future<decltype(function())> {
        using Result = decltype(function());
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(function));
        std::future<Result> future = task->get_future();
        {
            std::lock_guard lock(mutex_);
            queue_.emplace_back([task] { (*task)(); });
        }
        wake_.notify_one();
        return future;
    }

    unsigned Threads() const { return static_cast<unsigned>(workers_.size()); }

private:
    void Work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace folivane::zip
