#include "device/PipeTransfer.h"

namespace {
// The first issue and the one re-issue after a cancel.
constexpr int kIssues = 2;

// How often to ask whether a cancelled transfer has ended, one millisecond
// apart. A cancelled pipe transfer ends at once or within a few milliseconds,
// so the first answer nearly always settles it. We poll instead of calling
// GetOverlappedResult with waiting: with no event in the record that blocks on
// the pipe handle itself with no limit, and a driver that never ends the
// cancelled transfer would hang the worker for good. Some five seconds is far
// beyond any sound cancel.
constexpr DWORD kEndQueries = 5000;
}  // namespace

PipeTransfer::PipeTransfer(PipeCalls& calls)
    : m_calls(calls),
      m_record(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(OVERLAPPED))) {}

TransferOutcome PipeTransfer::BoundedTransfer(HANDLE pipe, TransferDirection direction,
                                              void* buffer, DWORD length, DWORD pollBudget) {
  OVERLAPPED* record = Record();
  if (!record) return TransferOutcome::kNotCompleted;
  ::ZeroMemory(record, sizeof(*record));
  for (int issue = 0; issue < kIssues; ++issue) {
    DWORD error = m_calls.Issue(pipe, direction, buffer, length, &m_nBytes, record);
    if (error == ERROR_SUCCESS) return TransferOutcome::kCompleted;
    if (error != ERROR_IO_PENDING) return TransferOutcome::kNotCompleted;
    if (WaitOverlapped(pipe, pollBudget)) return TransferOutcome::kCompleted;
    // A transfer that completed between the last poll and the cancel must not
    // be issued again: a payload chunk would reach the device twice.
    switch (CancelAndAwaitEnd(pipe)) {
      case CancelEnd::kCompleted:
        return TransferOutcome::kCompleted;
      case CancelEnd::kStillPending:
        m_record.release();  // left to the system on purpose: it may still write into it
        return TransferOutcome::kNotCompleted;
      case CancelEnd::kEnded:
        break;
    }
  }
  return TransferOutcome::kNotCompleted;
}

bool PipeTransfer::WaitOverlapped(HANDLE pipe, DWORD pollBudget) {
  if (!Record()) return false;
  for (DWORD poll = 0; poll < pollBudget; ++poll) {
    if (m_calls.Poll(pipe, Record(), &m_nBytes)) return true;
    m_calls.PauseAfterPoll();
  }
  return false;
}

// The record and buffer may be reused only once the cancelled transfer has
// ended; until then the system may still write into them.
PipeTransfer::CancelEnd PipeTransfer::CancelAndAwaitEnd(HANDLE pipe) {
  m_calls.Cancel(pipe);
  for (DWORD query = 0; query < kEndQueries; ++query) {
    DWORD error = m_calls.QueryEnd(pipe, Record(), &m_nBytes);
    if (error == ERROR_SUCCESS) return CancelEnd::kCompleted;
    if (error != ERROR_IO_INCOMPLETE) return CancelEnd::kEnded;
    m_calls.PauseWhileEnding();
  }
  return CancelEnd::kStillPending;
}
