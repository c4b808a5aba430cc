#include "update/ListenerCalls.h"

DWORD ListenerCalls::Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length,
                           DWORD* bytes, OVERLAPPED* record) {
  if (Stopping()) return ERROR_OPERATION_ABORTED;
  return PipeCalls::Issue(pipe, direction, buffer, length, bytes, record);
}

BOOL ListenerCalls::Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  // CancelIo reaches only this thread's transfers, so the stop is carried
  // out here, on the listener's own thread.
  if (Stopping()) ::CancelIo(pipe);
  return PipeCalls::Poll(pipe, record, bytes);
}

void ListenerCalls::PauseAfterPoll() {
  if (!Stopping()) PipeCalls::PauseAfterPoll();
}
