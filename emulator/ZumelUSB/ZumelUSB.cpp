// Stand-in for the device library: finds the emulated device and opens its
// pipes through the named pipes that DeviceEmulator serves. The faulty
// variants are built from this file with one export left out. It uses no
// part of the C++ library: see CurrentDevicePipePath.
//
// Fault knob for tests: QUELVO_FAIL_OPEN="PIPE00:3" makes the 3rd open_file of
// "PIPE00" in this process return -1 (counted from 1, over every load of the
// library); several entries go comma-separated ("PIPE00:1,PIPE01:2"). The
// program frees the library after each call, so while the knob is set the
// library pins itself to keep its counts.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "emulator/DevicePipeNames.h"

namespace {
#ifndef ZUMEL_WITHOUT_OPEN_FILE
constexpr char kFailOpenVariable[] = "QUELVO_FAIL_OPEN";
constexpr DWORD kFailOpenSize = 256;
constexpr int kOpenFilePipes = 2;  // PIPE00 and PIPE01

volatile LONG g_openCounts[kOpenFilePipes] = {};

// Keeps this library loaded until the process ends, so the counts live on.
void PinSelf() {
  HMODULE self = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&PinSelf), &self);
}

// Whether the knob names this open (`number`, from 1) of `pipeName`.
bool FailOpenRequested(const char* knob, const char* pipeName, LONG number) {
  const size_t nameLength = std::strlen(pipeName);
  for (const char* entry = knob; *entry;) {
    const char* end = std::strchr(entry, ',');
    if (!end) end = entry + std::strlen(entry);
    if (std::strncmp(entry, pipeName, nameLength) == 0 && entry[nameLength] == ':' &&
        std::strtol(entry + nameLength + 1, nullptr, 10) == number) {
      return true;
    }
    entry = *end ? end + 1 : end;
  }
  return false;
}

// Counts this open of `pipe` and tells whether the knob makes it fail.
bool OpenShallFail(const char* pipeName, DevicePipe pipe) {
  char knob[kFailOpenSize];
  DWORD length = ::GetEnvironmentVariableA(kFailOpenVariable, knob, kFailOpenSize);
  if (length == 0 || length >= kFailOpenSize) return false;
  PinSelf();
  const int index = pipe == DevicePipe::Out ? 0 : 1;
  return FailOpenRequested(knob, pipeName, ::InterlockedIncrement(&g_openCounts[index]));
}
#endif

// Every instance can be busy for a moment while the emulator hands an open
// over to its session and listens again.
constexpr int kOpenAttempts = 5;
constexpr DWORD kBusyWaitMs = 1000;
constexpr size_t kPipePathSize = 300;

HANDLE OpenDevicePipe(DevicePipe pipe) {
  char path[kPipePathSize];
  if (!CurrentDevicePipePath(pipe, path, sizeof path)) return INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    HANDLE handle = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OVERLAPPED, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      // One host read takes one device packet.
      DWORD mode = PIPE_READMODE_MESSAGE;
      ::SetNamedPipeHandleState(handle, &mode, nullptr, nullptr);
      return handle;
    }
    // No such pipe: the emulator is not running or the device is absent.
    if (::GetLastError() != ERROR_PIPE_BUSY) break;
    ::WaitNamedPipeA(path, kBusyWaitMs);
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
  if (OpenShallFail(pipeName, pipe)) return INVALID_HANDLE_VALUE;
  return OpenDevicePipe(pipe);
}
#endif

}  // extern "C"
