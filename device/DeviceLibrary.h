#pragma once
// The device library ZumelUSB.dll, bound at run time by file name. It finds
// the device (open_dev) and opens its two pipes by name (open_file); both
// return a handle the caller owns, or -1. Handles stay usable after the
// library has been freed.
#include "framework/UniqueResource.h"

constexpr char kDeviceLibraryName[] = "ZumelUSB.dll";
constexpr char kPipeOut[32] = "PIPE00";  // host to device
constexpr char kPipeIn[32] = "PIPE01";   // device to host

class DeviceLibrary {
 public:
  // Loads the library; false when it does not load or lacks `exportName`,
  // which is treated alike: there is nothing to call.
  bool Load(const char* exportName);
  void Free() { m_module.reset(); }

  // The device itself; -1 when no device answers. Needs Load("open_dev").
  HANDLE OpenDev() const;
  // One pipe by name; -1 on failure. Needs Load("open_file").
  HANDLE OpenFile(const char* pipeName) const;

  static constexpr char kOpenDev[] = "open_dev";
  static constexpr char kOpenFile[] = "open_file";

 private:
  using OpenDevFn = HANDLE(__cdecl*)();
  using OpenFileFn = HANDLE(__cdecl*)(const char*);

  UniqueModule m_module;
  FARPROC m_export = nullptr;
};

// Loads the library, opens one pipe and frees the library again, as the
// update run does for "PIPE00". `loaded` tells whether the library loaded.
HANDLE OpenPipeOnce(const char* pipeName, bool& loaded);
