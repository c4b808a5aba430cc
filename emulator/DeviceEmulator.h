#pragma once
// An emulated device behind the device library's named pipes, for tests and
// for DeviceEmulator.exe. It answers "!" on PIPE00 with the identification
// reply on PIPE01, records every host write to PIPE00, and plays the faults
// of a real device on command: absent, attached late, unplugged, slow,
// stalled.
//
//   DeviceEmulatorConfig config;
//   config.name = UniqueDeviceName("MyTest");
//   DeviceEmulator device(config);
//   device.Start();
//   ::SetEnvironmentVariableA(kDeviceNameVariable, config.name.c_str());
//
// Every method is thread-safe. State changes (Unplug, Attach, Stall, Resume,
// SetReadDelay) have taken effect on every pipe when they return.
#include <memory>
#include <thread>
#include <vector>

#include "emulator/DeviceCapture.h"
#include "emulator/DeviceEmulatorConfig.h"
#include "emulator/DevicePipeNames.h"
#include "emulator/DeviceState.h"

class PipeAcceptor;

class DeviceEmulator {
 public:
  explicit DeviceEmulator(const DeviceEmulatorConfig& config = DeviceEmulatorConfig());
  ~DeviceEmulator();
  DeviceEmulator(const DeviceEmulator&) = delete;
  DeviceEmulator& operator=(const DeviceEmulator&) = delete;

  // Serves the pipes; returns once they listen (when attached). False when
  // the device's presence pipe cannot be seen afterwards, or after Stop: a
  // device starts once.
  bool Start();
  // Closes every pipe; the host's handles break. Also done on destruction.
  void Stop();

  const std::string& Name() const { return m_config.name; }

  // Unplug: open_dev and open_file fail, open handles break (writes fail),
  // a reply not yet read is lost. Attach: the device answers again.
  void Unplug();
  void Attach();
  bool IsPresent() const;

  // Stall: PIPE00 is no longer read, so host writes pend once its buffer is
  // full (at once with the small buffer; see DeviceEmulatorConfig).
  void Stall();
  void Resume();
  // Wait before each read of PIPE00.
  void SetReadDelay(DWORD readDelayMs);
  // Fault after this many more bytes arrive on PIPE00; 0 disarms.
  void UnplugAfterBytes(unsigned long long bytes);
  void StallAfterBytes(unsigned long long bytes);
  // The reply to the next "!"; empty: no reply.
  void SetReply(const std::vector<unsigned char>& reply);

  // What the host wrote to PIPE00, "!" included, one entry per write.
  const DeviceCapture& Capture() const { return m_capture; }
  std::vector<std::vector<unsigned char>> Writes() const { return m_capture.Writes(); }
  std::vector<unsigned char> Bytes() const { return m_capture.Bytes(); }
  std::vector<size_t> WriteSizes() const { return m_capture.WriteSizes(); }
  size_t WriteCount() const { return m_capture.WriteCount(); }
  unsigned long long TotalBytes() const { return m_capture.TotalBytes(); }
  bool WaitForTotalBytes(unsigned long long total, DWORD timeoutMs) const;
  bool WaitForWriteCount(size_t count, DWORD timeoutMs) const;
  void ClearCapture() { m_capture.Clear(); }

  // Opens by the host so far, handles open now, replies read by the host.
  unsigned OpenCount(DevicePipe pipe) const { return m_state.OpenCount(pipe); }
  unsigned ConnectedCount(DevicePipe pipe) const { return m_state.ConnectedCount(pipe); }
  unsigned RepliesTaken() const { return m_state.RepliesTaken(); }
  bool WaitForOpenCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const;
  // Waits until exactly `count` handles of `pipe` are open.
  bool WaitForConnectedCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const;
  bool WaitForRepliesTaken(unsigned count, DWORD timeoutMs) const;

 private:
  void AttachLater();

  DeviceEmulatorConfig m_config;
  DeviceCapture m_capture;
  DeviceState m_state;
  std::vector<std::unique_ptr<PipeAcceptor>> m_acceptors;
  UniqueHandle m_stopAttach;
  std::thread m_attacher;
  bool m_started = false;
  bool m_stopped = false;
};
