// The engine's own failures: a message that names the file and the cause.
#pragma once

#include <stdexcept>

namespace folivane::engine {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace folivane::engine
