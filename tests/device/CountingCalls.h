#pragma once
// The real pipe calls, counted, with room for the test to act on the peer
// right before a poll or a cancel.
#include <functional>

#include "device/PipeCalls.h"

class CountingCalls : public PipeCalls {
 public:
  DWORD Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length, DWORD* bytes,
              OVERLAPPED* record) override;
  BOOL Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) override;
  void PauseAfterPoll() override;
  void Cancel(HANDLE pipe) override;
  DWORD QueryEnd(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) override;
  void PauseWhileEnding() override;

  int issues = 0;
  int polls = 0;
  int pauses = 0;
  int cancels = 0;
  int endQueries = 0;
  int endPauses = 0;
  // Set when a transfer was issued on a record whose last transfer had not
  // ended: the system could then write into it twice.
  bool issuedOnPendingRecord = false;
  OVERLAPPED* lastRecord = nullptr;

  // Run before the poll or cancel of the given number, counted from 1.
  std::function<void(int poll)> beforePoll;
  std::function<void(int cancel)> beforeCancel;
  // Replaces the real CancelIo when set.
  std::function<void(HANDLE pipe)> cancel;
  // Run before each query whether a cancelled transfer has ended.
  std::function<void(int query)> beforeEndQuery;
};
