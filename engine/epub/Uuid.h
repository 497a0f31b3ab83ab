// Random identifiers for books.
#pragma once

#include <string>

namespace folivane::engine {

// A random (version 4) UUID in its 36-character text form, lower case.
std::string NewUuid();

} // namespace folivane::engine
