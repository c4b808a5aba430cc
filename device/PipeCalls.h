#pragma once
// The system calls that a bounded pipe transfer makes, each behind one virtual
// function. The base class makes the real calls; a test derives from it to count
// them or to act on the other end of the pipe between two of them, while the
// real calls still run. One indirect call per system call costs nothing beside
// the system call itself.
#include <windows.h>

enum class TransferDirection { kRead, kWrite };

class PipeCalls {
 public:
  virtual ~PipeCalls() = default;

  // ReadFile or WriteFile with `record`. ERROR_SUCCESS when the transfer
  // completed at once, else the thread's last error right after the call
  // (ERROR_IO_PENDING while it is under way).
  virtual DWORD Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length,
                      DWORD* bytes, OVERLAPPED* record);
  // GetOverlappedResult without waiting, one poll of a wait.
  virtual BOOL Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes);
  // Sleep(1) after a poll that did not report completion.
  virtual void PauseAfterPoll();
  // CancelIo: the calling thread's transfers on `pipe`.
  virtual void Cancel(HANDLE pipe);
  // GetOverlappedResult without waiting on a cancelled transfer. ERROR_SUCCESS
  // when it completed after all, ERROR_IO_INCOMPLETE while it has not ended,
  // else the error it ended with.
  virtual DWORD QueryEnd(HANDLE pipe, OVERLAPPED* record, DWORD* bytes);
  // Sleep(1) before asking again whether a cancelled transfer has ended.
  virtual void PauseWhileEnding();

  // The real calls, for every transfer that is given no others.
  static PipeCalls& Real();
};
