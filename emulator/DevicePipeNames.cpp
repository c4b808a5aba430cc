#include "emulator/DevicePipeNames.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {
constexpr DWORD kMaxDeviceName = 200;
constexpr size_t kUniqueNameLength = 256;

std::atomic<unsigned> g_uniqueCounter{0};
}  // namespace

std::string CurrentDeviceName() {
  char name[kMaxDeviceName];
  DWORD length = ::GetEnvironmentVariableA(kDeviceNameVariable, name, kMaxDeviceName);
  if (length == 0 || length >= kMaxDeviceName) return kDefaultDeviceName;
  return std::string(name, length);
}

std::string DevicePipePath(const std::string& deviceName, DevicePipe pipe) {
  return kPipePathPrefix + deviceName + kPipeSuffixes[static_cast<int>(pipe)];
}

std::string UniqueDeviceName(const char* prefix) {
  char name[kUniqueNameLength];
  std::snprintf(name, sizeof name, "%s-%lu-%lu-%u", prefix, ::GetCurrentProcessId(),
                ::GetTickCount(), g_uniqueCounter++);
  return name;
}
