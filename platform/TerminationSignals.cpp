// Handlers that record the signal and wake an event loop through a pipe.
#include "TerminationSignals.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace folivane::platform {
namespace {

// A signal handler can reach nothing but process-wide state; these are the only such values
// of the program, set in the constructor and read by the handler.
std::atomic<int> gReceived{0};
std::atomic<int> gNotify{-1};
struct sigaction gPrevious[TerminationSignals::kCount];

static_assert(std::atomic<int>::is_always_lock_free, "used from a signal handler");

void OnSignal(int signal) {
    int expected = 0;
    if (!gReceived.compare_exchange_strong(expected, signal)) {
        if (expected == signal) {
            // Asked twice: end now, the way the signal would have.
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            ::sigaction(signal, &fallback, nullptr);
            ::raise(signal);
        }
        return;
    }
    const int fd = gNotify.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(signal);
        [[maybe_unused]] const ssize_t ignored = ::write(fd, &byte, 1);
    }
}

// The signal of each slot: the stopping ones, then the ignored ones.
int SignalAt(std::size_t slot) {
    constexpr std::size_t stopping = std::size(TerminationSignals::kStopping);
    return slot < stopping ? TerminationSignals::kStopping[slot]
                           : TerminationSignals::kIgnored[slot - stopping];
}

} // namespace

TerminationSignals::TerminationSignals() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        readEnd_ = FileDescriptor(ends[0]);
        writeEnd_ = FileDescriptor(ends[1]);
    } else {
        error_ = errno; // the signals are still recorded; only an event loop is not woken
    }
    gReceived = 0;
    gNotify = writeEnd_.Get();
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t slot = 0; slot < kCount; ++slot) {
        const int signal = SignalAt(slot);
        const bool stopping = slot < std::size(kStopping);
        if (stopping && ::sigaction(signal, nullptr, &gPrevious[slot]) == 0 &&
            gPrevious[slot].sa_handler == SIG_IGN)
            continue; // the user asked for it to be ignored: nohup's SIGHUP
        action.sa_handler = stopping ? OnSignal : SIG_IGN;
        installed_[slot] = ::sigaction(signal, &action, &gPrevious[slot]) == 0;
        if (!installed_[slot] && error_ == 0) error_ = errno;
    }
}

TerminationSignals::~TerminationSignals() {
    // The ignored ones stay so: the program's last writes, stdio's at exit, come after.
    for (std::size_t slot = 0; slot < std::size(kStopping); ++slot)
        if (installed_[slot]) ::sigaction(SignalAt(slot), &gPrevious[slot], nullptr);
    gNotify = -1;
}

int TerminationSignals::Received() {
    return gReceived.load();
}

} // namespace folivane::platform
