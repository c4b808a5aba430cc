#pragma once
// The device's side of one open of one of its pipes, served on a thread of
// its own until the host closes its handle, the device is unplugged or the
// emulator stops. Closing the server end breaks the host's handle.
#include <atomic>
#include <thread>

#include "emulator/DeviceCapture.h"
#include "emulator/DeviceState.h"
#include "emulator/OverlappedIo.h"

class PipeSession {
 public:
  // Takes over `connected`, a server pipe end whose client has connected.
  PipeSession(DevicePipe pipe, UniqueHandle connected, DeviceState& state, DeviceCapture& capture);
  ~PipeSession();
  PipeSession(const PipeSession&) = delete;
  PipeSession& operator=(const PipeSession&) = delete;

  bool Finished() const { return m_finished; }

 private:
  void Run();
  // Each returns when the session should end.
  void ServePresence();
  void ServeOut();
  void ServeIn();

  // Current state if the session goes on, acknowledged; false when it ends.
  bool Continue(DeviceState::Snapshot& snapshot);
  // Keeps a read pending that ends when the host closes its handle; false
  // once it has.
  bool WatchForClose(OverlappedIo& watch);
  void Record(const unsigned char* data, size_t size);

  DevicePipe m_pipe;
  UniqueHandle m_instance;
  DeviceState& m_state;
  DeviceCapture& m_capture;
  WorkerSlot m_slot;
  unsigned char m_discard[16] = {};
  std::atomic<bool> m_finished{false};
  std::thread m_thread;
};
