// The engine's own failures: a message that names the file and the cause.
#pragma once

#include "platform/SystemError.h"

#include <new>
#include <stdexcept>
#include <string>

namespace folivane::engine {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The front end asked the job to stop (the user, or a signal that ends the program).
class ConversionCancelled : public ConversionError {
public:
    ConversionCancelled() : ConversionError("The conversion was stopped") {}
};

// Runs `read`, which reads the file at `path`; running out of memory there is reported as
// a message that names the file instead of a bare "std::bad_alloc".
template <class Read> auto ReadingFile(const std::string& path, Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw ConversionError("Not enough memory to read \"" + platform::ExpandFileName(path) +
                              "\"");
    }
}

} // namespace folivane::engine
