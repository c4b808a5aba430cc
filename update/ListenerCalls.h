#pragma once
// The pipe calls of the identification listener, which can be told to stop:
// from then on no transfer is issued, a pending read is cancelled at its next
// poll and no poll sleeps, so the listener ends within moments and still
// closes its pipe and frees the library itself.
#include "device/PipeCalls.h"

class ListenerCalls : public PipeCalls {
 public:
  explicit ListenerCalls(const volatile LONG& stopRequested) : m_stopRequested(stopRequested) {}

  DWORD Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length, DWORD* bytes,
              OVERLAPPED* record) override;
  BOOL Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) override;
  void PauseAfterPoll() override;

 private:
  bool Stopping() const { return m_stopRequested != 0; }

  const volatile LONG& m_stopRequested;
};
