#pragma once
// The pipe's own limit: the device's "PIPE00", opened through the device
// library as the update opens it, written with a 20-byte start command and
// then 2048-byte overlapped writes, each waited for at once, with no user
// interface anywhere. The device drains as fast as it can.
//
// The writer runs in a process of its own (this program started again with
// kChildSwitch), as the program does: under Wine a writer in the device's own
// process gets through the pipe faster, so that figure is no limit for the
// program; it is kept for reference.
#include <windows.h>

class DeviceEmulator;

class RawPipeWriter {
 public:
  explicit RawPipeWriter(DeviceEmulator& device) : m_device(device) {}

  // Sends `payloadBytes` and waits until the device holds them all; the
  // seconds from the start command's arrival (or, in this process, the first
  // write) to the last byte at the device, or a negative value on failure.
  double SendFromChild(DWORD payloadBytes);
  double SendFromThisProcess(DWORD payloadBytes);

  // The child's part: writes a start command and `payloadBytes` to the device
  // named by QUELVO_DEVICE. False on any failure.
  static bool WriteImage(DWORD payloadBytes);

  static constexpr char kChildSwitch[] = "--raw-writer";

 private:
  DeviceEmulator& m_device;
};
