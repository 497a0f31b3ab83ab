// What folivane-cli says about how to call it.
#pragma once

#include <string>

namespace folivane::cli {

// The whole help, for --help.
std::string UsageText();

} // namespace folivane::cli
