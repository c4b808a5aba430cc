#pragma once
// The emulated device's state shared by its pipe threads: attached or not,
// stalled, read delay, the identification reply waiting in the IN endpoint,
// fault thresholds and counters. A change that the pipe threads must act on
// (unplug, attach, stall, read delay, stop) wakes every thread and returns
// once each has acted on it, so that a caller sees its effect at once.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "emulator/DeviceEmulatorConfig.h"
#include "emulator/DevicePipeNames.h"
#include "emulator/WorkerSlot.h"

class DeviceState {
 public:
  struct Snapshot {
    bool present;
    bool stalled;
    bool stopping;
    DWORD readDelayMs;
    unsigned long long generation;
  };

  explicit DeviceState(const DeviceEmulatorConfig& config);

  Snapshot Read() const;
  // PIPE00's buffer for instances created now: small while stalled, slow or
  // due to stall. Wine keeps the buffer of a pipe's first instance for every
  // later one until the name goes (at an unplug), so the buffer in force is
  // the one chosen at Start or at the latest Attach.
  DWORD OutBufferBytes() const;

  void Register(WorkerSlot& slot);
  void Unregister(WorkerSlot& slot);
  void Acknowledge(WorkerSlot& slot, unsigned long long generation);

  // Applied by every pipe thread but `self` before these return.
  void SetPresent(bool present, const WorkerSlot* self = nullptr);
  void SetStalled(bool stalled, const WorkerSlot* self = nullptr);
  void SetReadDelay(DWORD readDelayMs);
  void Stop();

  // Thresholds counted from now on, in bytes arriving on PIPE00; 0 disarms.
  void UnplugAfterBytes(unsigned long long bytes);
  void StallAfterBytes(unsigned long long bytes);

  // One whole host write to PIPE00 has arrived: answers "!" and fires the
  // thresholds. `self` is the PIPE00 thread that read it, which must close
  // its own handle when this returns true (the device is now unplugged).
  bool OnWriteReceived(const unsigned char* data, size_t size, const WorkerSlot& self);

  void SetReply(const std::vector<unsigned char>& reply);
  // The reply waiting to be read and its id; false when none waits.
  bool PendingReply(std::vector<unsigned char>& reply, unsigned long long& id) const;
  unsigned long long PendingReplyId() const;
  // The host has read reply `id`: it leaves the endpoint.
  void ReplyTaken(unsigned long long id);

  void CountOpen(DevicePipe pipe);
  void CountClose(DevicePipe pipe);
  unsigned OpenCount(DevicePipe pipe) const;
  unsigned ConnectedCount(DevicePipe pipe) const;
  unsigned RepliesTaken() const;
  // Bounded waits for the counters; true once reached.
  bool WaitForOpenCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const;
  bool WaitForConnectedCount(DevicePipe pipe, unsigned count, DWORD timeoutMs) const;
  bool WaitForRepliesTaken(unsigned count, DWORD timeoutMs) const;
  // Wakes every pipe thread and returns once each has looked at the state.
  void Synchronize();

 private:
  // The reply to "!" enters the IN endpoint.
  void QueueReply();
  // Caller holds the lock.
  void WakeAll();
  void ChangeAndWait(std::unique_lock<std::mutex>& lock, const WorkerSlot* self);
  template <class Condition>
  bool WaitUntil(Condition condition, DWORD timeoutMs) const;
  static unsigned long long Threshold(unsigned long long received, unsigned long long bytes);

  mutable std::mutex m_mutex;
  // Signalled on every acknowledgement and counter change.
  mutable std::condition_variable m_changed;
  std::vector<WorkerSlot*> m_workers;

  bool m_present;
  bool m_stalled;
  bool m_stopping = false;
  DWORD m_readDelayMs;
  unsigned long long m_generation = 1;
  DWORD m_pipeBufferBytes;
  DWORD m_smallPipeBufferBytes;

  std::vector<unsigned char> m_reply;
  std::vector<unsigned char> m_pendingReply;
  unsigned long long m_pendingReplyId = 0;  // 0: none waiting
  unsigned long long m_lastReplyId = 0;
  unsigned m_repliesTaken = 0;

  unsigned long long m_bytesReceived = 0;
  unsigned long long m_unplugAt = 0;  // 0: disarmed
  unsigned long long m_stallAt = 0;

  unsigned m_opens[kDevicePipeCount] = {};
  unsigned m_connected[kDevicePipeCount] = {};
};
