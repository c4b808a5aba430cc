// Stand-in for the device library: finds the emulated device and opens its
// pipes through the named pipes that DeviceEmulator serves. The faulty
// variants are built from this file with one export left out.
#include <windows.h>

#include "emulator/DevicePipeNames.h"

namespace {
// Every instance can be busy for a moment while the emulator hands an open
// over to its session and listens again.
constexpr int kOpenAttempts = 5;
constexpr DWORD kBusyWaitMs = 1000;

HANDLE OpenDevicePipe(DevicePipe pipe) {
  std::string path = DevicePipePath(CurrentDeviceName(), pipe);
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      // One host read takes one device packet.
      DWORD mode = PIPE_READMODE_MESSAGE;
      ::SetNamedPipeHandleState(handle, &mode, nullptr, nullptr);
      return handle;
    }
    // No such pipe: the emulator is not running or the device is absent.
    if (::GetLastError() != ERROR_PIPE_BUSY) break;
    ::WaitNamedPipeA(path.c_str(), kBusyWaitMs);
  }
  return INVALID_HANDLE_VALUE;
}
}  // namespace

extern "C" {

#ifndef ZUMEL_WITHOUT_OPEN_DEV
HANDLE __cdecl open_dev() { return OpenDevicePipe(DevicePipe::Presence); }
#endif

#ifndef ZUMEL_WITHOUT_OPEN_FILE
HANDLE __cdecl open_file(const char* pipeName) {
  DevicePipe pipe;
  if (!DevicePipeFromName(pipeName, pipe)) return INVALID_HANDLE_VALUE;
  return OpenDevicePipe(pipe);
}
#endif

}  // extern "C"
