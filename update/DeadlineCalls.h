#pragma once
// The pipe calls of the image sender, bounded in time: once the deadline has
// passed, no transfer is issued, a pending write is cancelled at its next
// poll and no poll sleeps. A transfer the device does not take thus ends at
// its deadline, however long the polls of a bounded wait last here (a
// one-millisecond sleep can take fifteen).
#include "device/PipeCalls.h"

class DeadlineCalls : public PipeCalls {
 public:
  // The deadline falls `milliseconds` from now.
  void StartDeadline(DWORD milliseconds);
  bool Passed() const;

  DWORD Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length, DWORD* bytes,
              OVERLAPPED* record) override;
  BOOL Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) override;
  void PauseAfterPoll() override;

 private:
  ULONGLONG m_deadline = 0;
};
