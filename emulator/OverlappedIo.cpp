#include "emulator/OverlappedIo.h"

OverlappedIo::OverlappedIo() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

OverlappedIo::~OverlappedIo() {
  if (m_pending) Cancel();
}

void OverlappedIo::Prepare(HANDLE pipe) {
  m_overlapped = OVERLAPPED{};
  m_overlapped.hEvent = m_event.get();
  m_pipe = pipe;
  m_bytes = 0;
  m_error = 0;
  m_connecting = false;
}

IoResult OverlappedIo::Read(HANDLE pipe, void* buffer, DWORD size) {
  Prepare(pipe);
  return Issued(::ReadFile(pipe, buffer, size, &m_bytes, &m_overlapped));
}

IoResult OverlappedIo::Write(HANDLE pipe, const void* data, DWORD size) {
  Prepare(pipe);
  return Issued(::WriteFile(pipe, data, size, &m_bytes, &m_overlapped));
}

IoResult OverlappedIo::Connect(HANDLE pipe) {
  Prepare(pipe);
  m_connecting = true;
  return Issued(::ConnectNamedPipe(pipe, &m_overlapped));
}

IoResult OverlappedIo::Issued(BOOL ok) {
  DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
  if (error == ERROR_IO_PENDING) {
    m_pending = true;
    return IoResult::Pending;
  }
  // A transfer done at once reports its byte count reliably only here.
  if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    ok = ::GetOverlappedResult(m_pipe, &m_overlapped, &m_bytes, FALSE);
  }
  return Outcome(ok);
}

IoResult OverlappedIo::Outcome(BOOL ok) {
  if (ok) return IoResult::Completed;
  m_error = ::GetLastError();
  if (m_error == ERROR_MORE_DATA) return IoResult::MoreData;
  // A client that connected before the connect was asked for, whether or not
  // it has closed again since, is still an open of the device.
  if (m_connecting && (m_error == ERROR_PIPE_CONNECTED || m_error == ERROR_NO_DATA)) {
    return IoResult::Completed;
  }
  return IoResult::Failed;
}

IoResult OverlappedIo::Collect(BOOL wait) {
  BOOL ok = ::GetOverlappedResult(m_pipe, &m_overlapped, &m_bytes, wait);
  if (!ok && ::GetLastError() == ERROR_IO_INCOMPLETE) return IoResult::Pending;
  m_pending = false;
  return Outcome(ok);
}

IoResult OverlappedIo::Finish() { return Collect(FALSE); }

IoResult OverlappedIo::Cancel() {
  if (!m_pending) return IoResult::Failed;
  ::CancelIoEx(m_pipe, &m_overlapped);
  return Collect(TRUE);
}
