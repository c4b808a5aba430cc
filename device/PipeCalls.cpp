#include "device/PipeCalls.h"

namespace {
constexpr DWORD kPauseMilliseconds = 1;

DWORD ErrorOf(BOOL result) { return result ? ERROR_SUCCESS : ::GetLastError(); }
}  // namespace

DWORD PipeCalls::Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length,
                       DWORD* bytes, OVERLAPPED* record) {
  if (direction == TransferDirection::kRead)
    return ErrorOf(::ReadFile(pipe, buffer, length, bytes, record));
  return ErrorOf(::WriteFile(pipe, buffer, length, bytes, record));
}

BOOL PipeCalls::Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  return ::GetOverlappedResult(pipe, record, bytes, FALSE);
}

void PipeCalls::PauseAfterPoll() { ::Sleep(kPauseMilliseconds); }

void PipeCalls::Cancel(HANDLE pipe) { ::CancelIo(pipe); }

DWORD PipeCalls::QueryEnd(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  return ErrorOf(::GetOverlappedResult(pipe, record, bytes, FALSE));
}

void PipeCalls::PauseWhileEnding() { ::Sleep(kPauseMilliseconds); }

PipeCalls& PipeCalls::Real() {
  static PipeCalls real;
  return real;
}
