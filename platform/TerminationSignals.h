// The signals that would end the program turned into a request to stop that it answers.
#pragma once

#include "FileDescriptor.h"

#include <csignal>
#include <cstddef>
#include <iterator>

namespace folivane::platform {

// While it lives, the signals that end a program from outside by default (Ctrl+C, Ctrl+\,
// kill, a closed terminal or session, a script's SIGALRM, SIGUSR1 or SIGUSR2, a CPU-time
// soft limit) no longer end it at once: the first one is recorded, so that the program can
// stop its work, remove what it made and exit with 128 + the signal's number. A second
// signal of the same kind ends the program at once, as the user then insists. A signal that
// was ignored when the object was made (nohup, a background job of a script) stays ignored.
// SIGXFSZ and SIGPIPE are ignored: the write that met the file-size limit or a closed pipe
// then fails with EFBIG or EPIPE, which the program reports like any failed write.
// Process-wide, as signal handlers are: make one, in main, before other threads start.
class TerminationSignals {
public:
    // The signals turned into a request to stop.
    static constexpr int kStopping[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,  SIGALRM,
                                        SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM};
    // The signals ignored.
    static constexpr int kIgnored[] = {SIGXFSZ, SIGPIPE};
    static constexpr std::size_t kCount = std::size(kStopping) + std::size(kIgnored);

    TerminationSignals();
    ~TerminationSignals(); // puts the previous handlers back, but for the ignored signals
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The first signal that arrived, 0 while none did. Safe from any thread.
    static int Received();
    // Becomes readable when a signal arrives, for an event loop to watch; -1 when the system
    // gave no pipe for it.
    int NotifyDescriptor() const { return readEnd_.Get(); }
    // 0 when every handler and the pipe are in place, else the errno of the first that is
    // not: a signal without its handler then ends the program as it would have.
    int Error() const { return error_; }

private:
    FileDescriptor readEnd_;
    FileDescriptor writeEnd_;
    bool installed_[kCount] = {};
    int error_ = 0;
};

} // namespace folivane::platform
