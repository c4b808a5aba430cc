#pragma once
// A named pipe of the test's own: the server end plays the device, the client
// end is opened for overlapped transfers as the device library's pipes may be.
#include <string>

#include "framework/UniqueResource.h"

class TestPipe {
 public:
  // With a buffer of 0 a write stays pending until the peer reads it; a read
  // stays pending until the peer writes.
  explicit TestPipe(DWORD bufferSize);

  HANDLE client() const { return m_client.get(); }
  bool open() const { return m_server.valid() && m_client.valid(); }

  // The device answers: bytes written by the server end. Only when the client
  // has a read pending or the buffer has room, else it would block.
  void PeerWrite(const std::string& bytes);
  // The device takes what the client has written so far, without blocking.
  std::string PeerReadAvailable();

 private:
  UniqueHandle m_server;
  UniqueHandle m_client;
};
