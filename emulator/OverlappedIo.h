#pragma once
// One overlapped operation at a time on a server pipe end, with its own
// event. A pending operation is cancelled and awaited on destruction, so its
// record and buffer never outlive it.
#include <windows.h>

#include "framework/UniqueResource.h"

enum class IoResult {
  Completed,  // done; for a connect: a client is (or was) connected
  MoreData,   // a message read filled the buffer; the rest follows
  Pending,
  Failed,
};

class OverlappedIo {
 public:
  OverlappedIo();
  ~OverlappedIo();
  OverlappedIo(const OverlappedIo&) = delete;
  OverlappedIo& operator=(const OverlappedIo&) = delete;

  IoResult Read(HANDLE pipe, void* buffer, DWORD size);
  IoResult Write(HANDLE pipe, const void* data, DWORD size);
  IoResult Connect(HANDLE pipe);

  // After the event fired: the outcome of the pending operation.
  IoResult Finish();
  // Cancels the pending operation and waits for its end, which may still be
  // a completion that raced the cancel.
  IoResult Cancel();

  bool pending() const { return m_pending; }
  HANDLE event() const { return m_event.get(); }
  DWORD bytes() const { return m_bytes; }
  DWORD error() const { return m_error; }

 private:
  void Prepare(HANDLE pipe);
  IoResult Issued(BOOL ok);
  IoResult Outcome(BOOL ok);
  IoResult Collect(BOOL wait);

  UniqueHandle m_event;
  OVERLAPPED m_overlapped = {};
  HANDLE m_pipe = nullptr;
  bool m_pending = false;
  bool m_connecting = false;
  DWORD m_bytes = 0;
  DWORD m_error = 0;
};
