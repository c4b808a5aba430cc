#include "bench/MachineInfo.h"

#include <windows.h>

#include <cstdio>

#include "bench/ResultTable.h"

namespace {
constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr DWORD kTextSize = 256;
constexpr double kBytesPerGiB = 1024.0 * 1024.0 * 1024.0;
// Under Wine, drive Z: is the host's root.
constexpr char kHostLoadAverage[] = "Z:\\proc\\loadavg";

std::string ProcessorName() {
  char name[kTextSize] = "";
  DWORD size = sizeof name;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kProcessorKey, "ProcessorNameString", RRF_RT_REG_SZ,
                     nullptr, name, &size) != ERROR_SUCCESS) {
    return "unknown processor";
  }
  return name;
}

std::string WineVersion() {
  using VersionFn = const char*(__cdecl*)();
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  auto version = ntdll ? reinterpret_cast<VersionFn>(
                             reinterpret_cast<void*>(::GetProcAddress(ntdll, "wine_get_version")))
                       : nullptr;
  return version ? std::string("Wine ") + version() : std::string("Windows");
}

std::string HostLoad() {
  std::FILE* file = std::fopen(kHostLoadAverage, "rb");
  if (!file) return std::string();
  char text[kTextSize] = "";
  const bool read = std::fgets(text, sizeof text, file) != nullptr;
  std::fclose(file);
  if (!read) return std::string();
  double one = 0, five = 0;
  if (std::sscanf(text, "%lf %lf", &one, &five) != 2) return std::string();
  return ", host load average " + Fixed(one, 2) + " (1 min), " + Fixed(five, 2) + " (5 min)";
}
}  // namespace

std::string DescribeMachine() {
  SYSTEM_INFO system;
  ::GetNativeSystemInfo(&system);
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  ::GlobalMemoryStatusEx(&memory);
  return ProcessorName() + ", " + std::to_string(system.dwNumberOfProcessors) + " cores, " +
         Fixed(static_cast<double>(memory.ullTotalPhys) / kBytesPerGiB, 1) + " GiB, " +
         WineVersion() + HostLoad();
}
