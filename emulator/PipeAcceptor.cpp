#include "emulator/PipeAcceptor.h"

#include <algorithm>

namespace {
// After a failed CreateNamedPipe, try again this much later.
constexpr DWORD kRetryMs = 20;
}  // namespace

PipeAcceptor::PipeAcceptor(DevicePipe pipe, const std::string& deviceName, DeviceState& state,
                           DeviceCapture& capture)
    : m_pipe(pipe), m_path(DevicePipePath(deviceName, pipe)), m_state(state), m_capture(capture) {
  m_state.Register(m_slot);
  m_thread = std::thread(&PipeAcceptor::Run, this);
}

PipeAcceptor::~PipeAcceptor() {
  if (m_thread.joinable()) m_thread.join();
}

void PipeAcceptor::Run() {
  for (;;) {
    DeviceState::Snapshot snapshot = m_state.Read();
    if (snapshot.stopping) break;
    if (!snapshot.present) {
      StopListening();
      m_state.Acknowledge(m_slot, snapshot.generation);
      ::WaitForSingleObject(m_slot.wake.get(), INFINITE);
      continue;
    }
    if (!Listen()) {
      m_state.Acknowledge(m_slot, snapshot.generation);
      ::WaitForSingleObject(m_slot.wake.get(), kRetryMs);
      continue;
    }
    m_state.Acknowledge(m_slot, snapshot.generation);
    if (!m_connect.pending()) {
      IoResult result = m_connect.Connect(m_listening.get());
      if (result == IoResult::Completed) Accept();
      if (result == IoResult::Failed) m_listening.reset();
      continue;
    }
    HANDLE waits[] = {m_connect.event(), m_slot.wake.get()};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) continue;
    IoResult result = m_connect.Finish();
    if (result == IoResult::Completed) Accept();
    if (result == IoResult::Failed) m_listening.reset();
  }
  StopListening();
  m_state.Unregister(m_slot);
  m_sessions.clear();
}

DWORD PipeAcceptor::WantedBufferBytes() const {
  // Only PIPE00 buffers: PIPE01 holds the reply back until it is read.
  return m_pipe == DevicePipe::Out ? m_state.OutBufferBytes() : 0;
}

UniqueHandle PipeAcceptor::CreateInstance(DWORD bufferBytes) const {
  HANDLE instance =
      ::CreateNamedPipeA(m_path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                         PIPE_UNLIMITED_INSTANCES, bufferBytes, bufferBytes, 0, nullptr);
  return UniqueHandle(instance == INVALID_HANDLE_VALUE ? nullptr : instance);
}

bool PipeAcceptor::Listen() {
  if (!m_listening) m_listening = CreateInstance(WantedBufferBytes());
  return m_listening.valid();
}

void PipeAcceptor::StopListening() {
  // A host may have connected just before the cancel took hold.
  if (m_connect.pending() && m_connect.Cancel() == IoResult::Completed) {
    StartSession(std::move(m_listening));
  }
  m_listening.reset();
}

void PipeAcceptor::Accept() {
  UniqueHandle connected = std::move(m_listening);
  // The connected instance keeps the name alive until the next one listens.
  m_listening = CreateInstance(WantedBufferBytes());
  StartSession(std::move(connected));
}

void PipeAcceptor::StartSession(UniqueHandle connected) {
  ReapFinishedSessions();
  m_state.CountOpen(m_pipe);
  m_sessions.push_back(
      std::make_unique<PipeSession>(m_pipe, std::move(connected), m_state, m_capture));
}

void PipeAcceptor::ReapFinishedSessions() {
  m_sessions.erase(std::remove_if(m_sessions.begin(), m_sessions.end(),
                                  [](const std::unique_ptr<PipeSession>& session) {
                                    return session->Finished();
                                  }),
                   m_sessions.end());
}
