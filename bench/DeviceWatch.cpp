#include "bench/DeviceWatch.h"

#include <windows.h>

#include "bench/Clock.h"
#include "emulator/DeviceEmulator.h"

namespace {
constexpr DWORD kPollMs = 1;
}  // namespace

double DeviceWatch::WaitForBytes(unsigned long long bytes) const {
  const ULONGLONG deadline = ::GetTickCount64() + kTimeLimitMs;
  for (;;) {
    if (m_device.TotalBytes() >= bytes) return bench::NowSeconds();
    if (::GetTickCount64() >= deadline) return -1;
    ::Sleep(kPollMs);
  }
}
