// SIGINT, SIGTERM and SIGHUP turned into a request to stop that the program answers.
#pragma once

#include "FileDescriptor.h"

namespace folivane::platform {

// While it lives, the three signals that end a program from outside (Ctrl+C, kill, a closed
// terminal or session) no longer end it at once: the first one is recorded, so that the
// program can stop its work, remove what it made and exit with 128 + the signal's number.
// A second signal of the same kind ends the program at once, as the user then insists.
// Process-wide, as signal handlers are: make one, in main, before other threads start.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals(); // puts the previous handlers back
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
    bool installed_[3] = {false, false, false};
    int error_ = 0;
};

} // namespace folivane::platform
