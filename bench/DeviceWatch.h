#pragma once
// When bytes reach the emulated device: its byte count, asked every
// millisecond. Polling rather than waiting on the capture's condition keeps
// the bench from being woken at every write the device records.
class DeviceEmulator;

class DeviceWatch {
 public:
  explicit DeviceWatch(const DeviceEmulator& device) : m_device(device) {}

  // The moment (bench::NowSeconds) the device held at least `bytes`, or a
  // negative value when it did not within the time limit.
  double WaitForBytes(unsigned long long bytes) const;

  static constexpr unsigned kTimeLimitMs = 180000;

 private:
  const DeviceEmulator& m_device;
};
