#pragma once
// Keeps one instance of a device pipe listening while the device is
// attached, and hands each open by the host to a session of its own. While
// the device is absent the pipe's name does not exist, so opens fail.
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "emulator/DeviceCapture.h"
#include "emulator/DeviceState.h"
#include "emulator/OverlappedIo.h"
#include "emulator/PipeSession.h"

class PipeAcceptor {
 public:
  PipeAcceptor(DevicePipe pipe, const std::string& deviceName, DeviceState& state,
               DeviceCapture& capture);
  // The state must be stopping: the thread and every session end with it.
  ~PipeAcceptor();
  PipeAcceptor(const PipeAcceptor&) = delete;
  PipeAcceptor& operator=(const PipeAcceptor&) = delete;

 private:
  void Run();
  // Keeps an instance listening; false to wait and try again.
  bool Listen();
  void StopListening();
  void Accept();
  DWORD WantedBufferBytes() const;
  UniqueHandle CreateInstance(DWORD bufferBytes) const;
  void StartSession(UniqueHandle connected);
  void ReapFinishedSessions();

  DevicePipe m_pipe;
  std::string m_path;
  DeviceState& m_state;
  DeviceCapture& m_capture;
  WorkerSlot m_slot;
  UniqueHandle m_listening;
  OverlappedIo m_connect;
  std::vector<std::unique_ptr<PipeSession>> m_sessions;
  std::thread m_thread;
};
