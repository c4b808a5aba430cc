#include "tests/device/CountingCalls.h"

DWORD CountingCalls::Issue(HANDLE pipe, TransferDirection direction, void* buffer, DWORD length,
                           DWORD* bytes, OVERLAPPED* record) {
  ++issues;
  if (!HasOverlappedIoCompleted(record)) issuedOnPendingRecord = true;
  lastRecord = record;
  return PipeCalls::Issue(pipe, direction, buffer, length, bytes, record);
}

BOOL CountingCalls::Poll(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  ++polls;
  if (beforePoll) beforePoll(polls);
  return PipeCalls::Poll(pipe, record, bytes);
}

void CountingCalls::PauseAfterPoll() {
  ++pauses;
  PipeCalls::PauseAfterPoll();
}

void CountingCalls::Cancel(HANDLE pipe) {
  ++cancels;
  if (beforeCancel) beforeCancel(cancels);
  if (cancel)
    cancel(pipe);
  else
    PipeCalls::Cancel(pipe);
}

DWORD CountingCalls::QueryEnd(HANDLE pipe, OVERLAPPED* record, DWORD* bytes) {
  ++endQueries;
  if (beforeEndQuery) beforeEndQuery(endQueries);
  return PipeCalls::QueryEnd(pipe, record, bytes);
}

void CountingCalls::PauseWhileEnding() { ++endPauses; }
