#include "emulator/PipeSession.h"

#include <vector>

namespace {
// One read takes a whole host write of any usual size.
constexpr DWORD kReadBufferBytes = 64 * 1024;
constexpr DWORD kWaitCount = 3;
}  // namespace

PipeSession::PipeSession(DevicePipe pipe, UniqueHandle connected, DeviceState& state,
                         DeviceCapture& capture)
    : m_pipe(pipe), m_instance(std::move(connected)), m_state(state), m_capture(capture) {
  m_state.Register(m_slot);
  m_thread = std::thread(&PipeSession::Run, this);
}

PipeSession::~PipeSession() {
  if (m_thread.joinable()) m_thread.join();
}

void PipeSession::Run() {
  switch (m_pipe) {
    case DevicePipe::Presence:
      ServePresence();
      break;
    case DevicePipe::Out:
      ServeOut();
      break;
    case DevicePipe::In:
      ServeIn();
      break;
  }
  m_instance.reset();
  m_state.CountClose(m_pipe);
  m_state.Unregister(m_slot);
  m_finished = true;
}

bool PipeSession::Continue(DeviceState::Snapshot& snapshot) {
  snapshot = m_state.Read();
  if (snapshot.stopping || !snapshot.present) return false;
  m_state.Acknowledge(m_slot, snapshot.generation);
  return true;
}

bool PipeSession::WatchForClose(OverlappedIo& watch) {
  if (watch.pending()) return true;
  // The host never writes here; whatever it might write is dropped.
  IoResult result = watch.Read(m_instance.get(), m_discard, sizeof m_discard);
  return result != IoResult::Failed;
}

void PipeSession::ServePresence() {
  OverlappedIo watch;
  DeviceState::Snapshot snapshot;
  while (Continue(snapshot)) {
    if (!WatchForClose(watch)) return;
    if (!watch.pending()) continue;
    HANDLE waits[] = {watch.event(), m_slot.wake.get()};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 &&
        watch.Finish() == IoResult::Failed) {
      return;
    }
  }
}

void PipeSession::Record(const unsigned char* data, size_t size) {
  // The device reacts before the write shows in the capture, so that a test
  // that has seen the write also sees the reply queued and the faults fired.
  if (m_state.OnWriteReceived(data, size, m_slot)) m_instance.reset();
  m_capture.Record(data, size);
}

void PipeSession::ServeOut() {
  std::vector<unsigned char> buffer(kReadBufferBytes);
  std::vector<unsigned char> message;  // a write longer than one read
  OverlappedIo read;
  DeviceState::Snapshot snapshot;
  while (Continue(snapshot)) {
    if (snapshot.stalled) {
      ::WaitForSingleObject(m_slot.wake.get(), INFINITE);
      continue;
    }
    if (snapshot.readDelayMs > 0 &&
        ::WaitForSingleObject(m_slot.wake.get(), snapshot.readDelayMs) == WAIT_OBJECT_0) {
      continue;
    }
    IoResult result = read.Read(m_instance.get(), buffer.data(), kReadBufferBytes);
    if (result == IoResult::Pending) {
      HANDLE waits[] = {read.event(), m_slot.wake.get()};
      bool woken = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
      result = woken ? read.Cancel() : read.Finish();
    }
    if (result == IoResult::Failed) {
      if (read.error() == ERROR_OPERATION_ABORTED) continue;
      return;  // the host has closed its handle
    }
    if (result == IoResult::MoreData || !message.empty()) {
      message.insert(message.end(), buffer.begin(), buffer.begin() + read.bytes());
      if (result == IoResult::MoreData) continue;
      Record(message.data(), message.size());
      message.clear();
    } else {
      Record(buffer.data(), read.bytes());
    }
  }
}

void PipeSession::ServeIn() {
  OverlappedIo watch;
  // The reply is offered with a write that, on this pipe without a buffer,
  // completes only when the host reads it; until then it stays with the
  // device and is withdrawn if another handle reads it first.
  OverlappedIo offer;
  std::vector<unsigned char> reply;
  unsigned long long offeredId = 0;
  DeviceState::Snapshot snapshot;
  while (Continue(snapshot)) {
    if (!WatchForClose(watch)) return;
    unsigned long long pendingId = m_state.PendingReplyId();
    if (offer.pending() && pendingId != offeredId) {
      if (offer.Cancel() == IoResult::Completed) m_state.ReplyTaken(offeredId);
      continue;
    }
    if (!offer.pending() && pendingId != 0 && m_state.PendingReply(reply, offeredId)) {
      IoResult result =
          offer.Write(m_instance.get(), reply.data(), static_cast<DWORD>(reply.size()));
      if (result == IoResult::Completed) m_state.ReplyTaken(offeredId);
      if (result == IoResult::Failed) return;
      continue;
    }
    HANDLE waits[kWaitCount];
    DWORD count = 0;
    if (watch.pending()) waits[count++] = watch.event();
    if (offer.pending()) waits[count++] = offer.event();
    waits[count++] = m_slot.wake.get();
    DWORD fired = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE) - WAIT_OBJECT_0;
    if (fired >= count || waits[fired] == m_slot.wake.get()) continue;
    if (waits[fired] == watch.event()) {
      if (watch.Finish() == IoResult::Failed) return;
    } else {
      IoResult result = offer.Finish();
      if (result == IoResult::Completed) m_state.ReplyTaken(offeredId);
      if (result == IoResult::Failed) return;
    }
  }
}
