#include "tests/uidriver/UniqueName.h"

#include <windows.h>

#include <atomic>

namespace uidriver {

std::string UniqueName(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  return prefix + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::GetTickCount64()) + "-" + std::to_string(counter++);
}

}  // namespace uidriver
