#pragma once
// How the device library and the emulated device find each other: three named
// pipes per device, named after the device. The device name comes from the
// environment so that every test can run its own device.
#include <cstddef>
#include <string>

// The device's three pipes.
enum class DevicePipe {
  Presence,  // opened and closed by open_dev
  Out,       // "PIPE00", host to device
  In,        // "PIPE01", device to host
};
constexpr int kDevicePipeCount = 3;

constexpr char kDeviceNameVariable[] = "QUELVO_DEVICE";
constexpr char kDefaultDeviceName[] = "QuelvoDevice";
constexpr char kPipePathPrefix[] = "\\\\.\\pipe\\";
constexpr const char* kPipeSuffixes[kDevicePipeCount] = {".dev", ".PIPE00", ".PIPE01"};

// The device name in force for this process right now: QUELVO_DEVICE, or the
// default when it is unset or empty. Read through GetEnvironmentVariableA, so
// that changes made after the C runtime started are seen.
std::string CurrentDeviceName();

// "\\.\pipe\<deviceName>.dev", ".PIPE00" or ".PIPE01".
std::string DevicePipePath(const std::string& deviceName, DevicePipe pipe);

// The pipe that open_file serves under `pipeName`; false for unknown names.
bool DevicePipeFromName(const char* pipeName, DevicePipe& pipe);

// The path of `pipe` of the device in force, into a caller's buffer; false
// when it does not fit. For the device library stand-in, which the program
// loads and frees at every probe: a statically linked C++ library leaves
// some 4 KiB behind at each unload, so the stand-in keeps clear of it (this
// function and DevicePipeFromName live in DevicePipePath.cpp, which uses
// none of it).
bool CurrentDevicePipePath(DevicePipe pipe, char* path, size_t size);

// A device name no other process or test uses: "<prefix>-<pid>-<tick>-<n>".
std::string UniqueDeviceName(const char* prefix);
