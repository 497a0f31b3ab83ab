// The engine's failures: an exception that carries a Failure, and the failure of any exception.
#pragma once

#include "Failure.h"

#include "platform/SystemError.h"

#include <new>
#include <stdexcept>
#include <string>

namespace folivane::engine {

// A failure the engine reports; what() is its English text (FailureText).
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(Failure failure);
    const Failure& Reason() const { return failure_; }

private:
    Failure failure_;
};

// The front end asked the job to stop (the user, or a signal that ends the program).
class ConversionCancelled : public ConversionError {
public:
    ConversionCancelled() : ConversionError(Failure{.kind = FailureKind::Cancelled}) {}
};

// The failure of a file operation the system refused, with its path and cause; Unexpected
// with its words for a stream's own failure.
Failure FileFailure(const platform::EStreamError& error);

// The failure of the exception being handled: call it only within a catch block. A
// ConversionError's own, a file operation's (FileFailure), OutOfMemory for bad_alloc,
// SystemRefused for a system_error with an errno (a thread the system would not start), and
// Unexpected with the exception's words for any other.
Failure CaughtFailure();

// Runs `read`, which reads the file at `path`; running out of memory there is reported as
// FileOutOfMemory, which names the file, instead of a bare "std::bad_alloc".
template <class Read> auto ReadingFile(const std::string& path, Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw ConversionError(
            Failure{.kind = FailureKind::FileOutOfMemory, .path = platform::ExpandFileName(path)});
    }
}

} // namespace folivane::engine
