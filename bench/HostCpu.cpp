#include "bench/HostCpu.h"

#include <cstdio>

namespace {
constexpr char kHostStat[] = "Z:\\proc\\stat";
// The kernel counts in USER_HZ ticks, 100 a second on Linux.
constexpr double kTicksPerSecond = 100;
constexpr int kLineSize = 512;
}  // namespace

double HostCpu::BusySeconds() {
  std::FILE* file = std::fopen(kHostStat, "rb");
  if (!file) return -1;
  char line[kLineSize] = "";
  const bool read = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  // cpu user nice system idle iowait irq softirq steal
  unsigned long long user, nice, system, idle, iowait, irq, softirq, steal;
  if (!read || std::sscanf(line, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice,
                           &system, &idle, &iowait, &irq, &softirq, &steal) != 8) {
    return -1;
  }
  return static_cast<double>(user + nice + system + irq + softirq + steal) / kTicksPerSecond;
}
