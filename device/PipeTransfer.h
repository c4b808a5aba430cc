#pragma once
// One read or write on a pipe handle whose completion is polled a fixed number
// of times one millisecond apart; when the polls run out the transfer is
// cancelled, issued once more and polled again. A pending transfer is never
// waited for without limit.
//
// Each worker owns one PipeTransfer and uses it from its own thread only:
// CancelIo reaches the calling thread's transfers, and the object's record
// serves one transfer at a time. A cancelled transfer has always ended before
// the record or buffer is used again, so the caller may reuse or free the
// buffer once BoundedTransfer returns (see Usable for the one exception).
#include "device/PipeCalls.h"
#include "framework/UniqueResource.h"

enum class TransferOutcome { kCompleted, kNotCompleted };

class PipeTransfer {
 public:
  explicit PipeTransfer(PipeCalls& calls = PipeCalls::Real());

  PipeTransfer(const PipeTransfer&) = delete;
  PipeTransfer& operator=(const PipeTransfer&) = delete;

  // ReadFile or WriteFile of `length` bytes at `buffer`, polled at most
  // `pollBudget` times per wait. The byte count is not examined: a short read
  // that completes counts as completed. A handle of -1 fails at the issue and
  // is not completed at once.
  TransferOutcome BoundedTransfer(HANDLE pipe, TransferDirection direction, void* buffer,
                                  DWORD length, DWORD pollBudget);

  // Polls the pending transfer up to `pollBudget` times, with Sleep(1) after
  // each poll that fails; true when the last poll reported completion.
  bool WaitOverlapped(HANDLE pipe, DWORD pollBudget);

  // False once a cancelled transfer did not end in time: its record is then
  // left to the system for good and every later transfer is not completed at
  // once, without touching the pipe. That transfer's buffer may still be read or
  // written by the system, so the caller must not free it.
  bool Usable() const { return m_record.valid(); }

  // Bytes the last completed transfer moved.
  DWORD BytesTransferred() const { return m_nBytes; }

 private:
  enum class CancelEnd { kCompleted, kEnded, kStillPending };

  OVERLAPPED* Record() const { return static_cast<OVERLAPPED*>(m_record.get()); }
  CancelEnd CancelAndAwaitEnd(HANDLE pipe);

  PipeCalls& m_calls;
  // On the heap, so that a record the system would not give back can outlive
  // this object and the worker's stack.
  UniqueHeapBlock m_record;
  DWORD m_nBytes = 0;
};
