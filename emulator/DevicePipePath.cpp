// The parts of the pipe naming that the device library stand-in needs, with
// no use of the C++ library (see CurrentDevicePipePath).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "emulator/DevicePipeNames.h"

namespace {
constexpr const char* kOpenFileNames[kDevicePipeCount] = {nullptr, "PIPE00", "PIPE01"};
constexpr DWORD kMaxDeviceName = 200;
}  // namespace

bool DevicePipeFromName(const char* pipeName, DevicePipe& pipe) {
  if (!pipeName) return false;
  for (int index = 0; index < kDevicePipeCount; ++index) {
    if (kOpenFileNames[index] && std::strcmp(pipeName, kOpenFileNames[index]) == 0) {
      pipe = static_cast<DevicePipe>(index);
      return true;
    }
  }
  return false;
}

bool CurrentDevicePipePath(DevicePipe pipe, char* path, size_t size) {
  char name[kMaxDeviceName];
  DWORD length = ::GetEnvironmentVariableA(kDeviceNameVariable, name, kMaxDeviceName);
  const char* device = (length == 0 || length >= kMaxDeviceName) ? kDefaultDeviceName : name;
  int written = std::snprintf(path, size, "%s%s%s", kPipePathPrefix, device,
                              kPipeSuffixes[static_cast<int>(pipe)]);
  return written > 0 && static_cast<size_t>(written) < size;
}
