#include "update/DeadlineCalls.h"

void DeadlineCalls::StartDeadline(DWORD milliseconds) {
  m_deadline = ::GetTickCount64() + milliseconds;
}

bool DeadlineCalls::Passed() const { return ::GetTickCount64() >= m_deadline; }

DWORD DeadlineCalls::Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length,
                           DWORD* bytes, OVERLAPPED* record) {
  if (Passed()) return ERROR_TIMEOUT;
  return PipeCalls::Issue(pipe, direction, buffer, length, bytes, record);
}

BOOL DeadlineCalls::Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  // CancelIo reaches only this thread's transfers: the sender's own write.
  // A write that completed before the cancel still reports completion.
  if (Passed()) ::CancelIo(pipe);
  return PipeCalls::Poll(pipe, record, bytes);
}

void DeadlineCalls::PauseAfterPoll() {
  if (!Passed()) PipeCalls::PauseAfterPoll();
}
