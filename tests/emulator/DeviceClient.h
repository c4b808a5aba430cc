#pragma once
// The host's side of the emulated device in tests: the device library loaded
// by path, and overlapped transfers on the handles that it returns.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/UniqueResource.h"

class ZumelLibrary {
 public:
  explicit ZumelLibrary(const std::string& path);
  bool loaded() const { return m_module.valid(); }
  FARPROC Export(const char* name) const;
  // -1 when the export is missing, as when the call fails.
  HANDLE OpenDev() const;
  HANDLE OpenFile(const char* pipeName) const;
  void Free() { m_module.reset(); }

 private:
  UniqueModule m_module;
};

// build/bin/ZumelUSB.dll
std::string ZumelPath();

// One overlapped transfer with its own event, cancelled and awaited if still
// pending when it goes.
class HostTransfer {
 public:
  HostTransfer();
  ~HostTransfer();
  HostTransfer(const HostTransfer&) = delete;
  HostTransfer& operator=(const HostTransfer&) = delete;

  // True when the transfer completes at the issue; pending() tells whether it
  // is under way instead.
  bool Write(HANDLE pipe, const std::vector<unsigned char>& data);
  bool Read(HANDLE pipe, DWORD size);
  bool pending() const { return m_pending; }
  DWORD error() const { return m_error; }
  // Waits up to `timeoutMs` for a pending transfer; true when it completed.
  bool Wait(DWORD timeoutMs);
  // GetOverlappedResult without waiting; false with error() set otherwise.
  bool Poll();
  // CancelIo and wait for the end; false with error() set when cancelled.
  bool Cancel();
  // What a completed read brought.
  std::vector<unsigned char> received() const;

 private:
  bool Issued(BOOL ok);
  bool Collect(BOOL wait);

  UniqueHandle m_event;
  OVERLAPPED m_overlapped = {};
  HANDLE m_pipe = nullptr;
  std::vector<unsigned char> m_buffer;
  DWORD m_bytes = 0;
  DWORD m_error = 0;
  bool m_pending = false;
};

std::vector<unsigned char> Bytes(const std::string& text);
std::vector<unsigned char> Pattern(size_t size, unsigned seed);
// Writes without an OVERLAPPED record, as the identification request goes.
bool PlainWrite(HANDLE pipe, const std::vector<unsigned char>& data);
