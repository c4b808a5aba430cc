#include "bench/ProcessGauge.h"

#include <psapi.h>

namespace {
constexpr double kFileTimeUnitsPerSecond = 1e7;

double Seconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / kFileTimeUnitsPerSecond;
}

bool ReadCounters(HANDLE process, PROCESS_MEMORY_COUNTERS_EX& counters) {
  counters = {};
  counters.cb = sizeof counters;
  return ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters) != FALSE;
}
}  // namespace

double ProcessGauge::CpuSeconds() const {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(m_process, &created, &exited, &kernel, &user)) return -1;
  return Seconds(kernel) + Seconds(user);
}

SIZE_T ProcessGauge::PrivateBytes() const {
  PROCESS_MEMORY_COUNTERS_EX counters;
  if (!ReadCounters(m_process, counters)) return 0;
  return counters.PrivateUsage > counters.PagefileUsage ? counters.PrivateUsage
                                                        : counters.PagefileUsage;
}

SIZE_T ProcessGauge::PeakPrivateBytes() const {
  PROCESS_MEMORY_COUNTERS_EX counters;
  return ReadCounters(m_process, counters) ? counters.PeakPagefileUsage : 0;
}
