// Times as the book's metadata writes them.
#pragma once

#include <ctime>
#include <string>

namespace folivane::engine {

// `when` in UTC as CCYY-MM-DDThh:mm:ssZ. Raises ConversionError for a time outside the years
// 0 to 9999, which that form cannot hold.
std::string UtcTimestamp(std::time_t when);

} // namespace folivane::engine
