// Work handed to the second core while the caller goes on with its own.
#pragma once

#include <functional>
#include <future>
#include <system_error>
#include <utility>

namespace folivane::engine {

// Runs `work` on a thread of its own from construction when `aside` is true, else (or when no
// thread can be had) in Get() on the caller's thread: the result is the same either way, so a
// caller asks for a thread only where the work is large enough to pay for starting one.
// Get() returns what `work` returned or raises what it raised, once. The destructor waits for
// a started thread, so whatever `work` refers to must outlive the task; the task belongs to
// the thread that made it.
template <class Result> class SideTask {
public:
    SideTask(std::function<Result()> work, bool aside) : work_(std::move(work)) {
        if (!aside) return;
        try {
            // By reference: the work and what it holds are not copied for the thread.
            done_ = std::async(std::launch::async, std::ref(work_));
        } catch (const std::system_error&) {
        }
    }
    SideTask(const SideTask&) = delete;
    SideTask& operator=(const SideTask&) = delete;
    ~SideTask() {
        if (done_.valid()) done_.wait();
    }

    Result Get() { return done_.valid() ? done_.get() : work_(); }

private:
    std::function<Result()> work_;
    std::future<Result> done_;
};

} // namespace folivane::engine
