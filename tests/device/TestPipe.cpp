#include "tests/device/TestPipe.h"

#include <atomic>

namespace {
std::atomic<unsigned> g_pipeCounter{0};

// Unique across test programs that run at once and across the tests of one.
std::string UniquePipeName() {
  return "\\\\.\\pipe\\quelvo-transfer-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(g_pipeCounter++);
}
}  // namespace

TestPipe::TestPipe(DWORD bufferSize) {
  std::string name = UniquePipeName();
  m_server.reset(::CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX,
                                    PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, bufferSize,
                                    bufferSize, 0, nullptr));
  m_client.reset(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
}

void TestPipe::PeerWrite(const std::string& bytes) {
  DWORD written = 0;
  ::WriteFile(m_server.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string TestPipe::PeerReadAvailable() {
  DWORD available = 0;
  if (!::PeekNamedPipe(m_server.get(), nullptr, 0, nullptr, &available, nullptr) || !available)
    return {};
  std::string bytes(available, '\0');
  DWORD read = 0;
  ::ReadFile(m_server.get(), &bytes[0], available, &read, nullptr);
  bytes.resize(read);
  return bytes;
}
