#pragma once
// The pipe's own limit: the device's "PIPE00", opened through the device
// library as the update opens it, written with a 20-byte start command and
// then 2048-byte overlapped writes, each waited for at once, with no user
// interface anywhere. The device drains as fast as it can.
#include <windows.h>

class DeviceEmulator;

class RawPipeWriter {
 public:
  explicit RawPipeWriter(DeviceEmulator& device) : m_device(device) {}

  // Sends `payloadBytes` and waits until the device holds them all; the
  // seconds from the first write to the last byte at the device, or a
  // negative value on failure.
  double Send(DWORD payloadBytes);

 private:
  DeviceEmulator& m_device;
};
