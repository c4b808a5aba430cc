#include "bench/Clock.h"

#include <windows.h>

namespace bench {

double NowSeconds() {
  static const double frequency = [] {
    LARGE_INTEGER value;
    ::QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

}  // namespace bench
