#pragma once
// Names for anything global a test creates (device names, pipe names), unique
// across test programs that run at the same time.
#include <string>

namespace uidriver {

// prefix-<process id>-<tick>-<counter>
std::string UniqueName(const std::string& prefix);

}  // namespace uidriver
