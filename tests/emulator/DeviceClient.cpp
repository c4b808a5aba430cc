#include "tests/emulator/DeviceClient.h"

#include "tests/support/TestFiles.h"

namespace {
using OpenDevFn = HANDLE(__cdecl*)();
using OpenFileFn = HANDLE(__cdecl*)(const char*);
constexpr unsigned kPatternStep = 31;
}  // namespace

ZumelLibrary::ZumelLibrary(const std::string& path) : m_module(::LoadLibraryA(path.c_str())) {}

FARPROC ZumelLibrary::Export(const char* name) const {
  return m_module ? ::GetProcAddress(m_module.get(), name) : nullptr;
}

HANDLE ZumelLibrary::OpenDev() const {
  FARPROC open = Export("open_dev");
  if (!open) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<OpenDevFn>(reinterpret_cast<void*>(open))();
}

HANDLE ZumelLibrary::OpenFile(const char* pipeName) const {
  FARPROC open = Export("open_file");
  if (!open) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<OpenFileFn>(reinterpret_cast<void*>(open))(pipeName);
}

std::string ZumelPath() { return BinPath("ZumelUSB.dll"); }

HostTransfer::HostTransfer() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

HostTransfer::~HostTransfer() {
  if (m_pending) Cancel();
}

bool HostTransfer::Write(HANDLE pipe, const std::vector<unsigned char>& data) {
  m_buffer = data;
  m_overlapped = OVERLAPPED{};
  m_overlapped.hEvent = m_event.get();
  m_pipe = pipe;
  return Issued(::WriteFile(pipe, m_buffer.data(), static_cast<DWORD>(m_buffer.size()), &m_bytes,
                            &m_overlapped));
}

bool HostTransfer::Read(HANDLE pipe, DWORD size) {
  m_buffer.assign(size, 0);
  m_overlapped = OVERLAPPED{};
  m_overlapped.hEvent = m_event.get();
  m_pipe = pipe;
  return Issued(::ReadFile(pipe, m_buffer.data(), size, &m_bytes, &m_overlapped));
}

bool HostTransfer::Issued(BOOL ok) {
  m_error = ok ? 0 : ::GetLastError();
  m_pending = m_error == ERROR_IO_PENDING;
  return ok != FALSE;
}

bool HostTransfer::Collect(BOOL wait) {
  BOOL ok = ::GetOverlappedResult(m_pipe, &m_overlapped, &m_bytes, wait);
  m_error = ok ? 0 : ::GetLastError();
  if (m_error != ERROR_IO_INCOMPLETE) m_pending = false;
  return ok != FALSE;
}

bool HostTransfer::Wait(DWORD timeoutMs) {
  if (!m_pending) return m_error == 0;
  ::WaitForSingleObject(m_event.get(), timeoutMs);
  return Collect(FALSE);
}

bool HostTransfer::Poll() { return Collect(FALSE); }

bool HostTransfer::Cancel() {
  ::CancelIo(m_pipe);
  return Collect(TRUE);
}

std::vector<unsigned char> HostTransfer::received() const {
  return std::vector<unsigned char>(m_buffer.begin(), m_buffer.begin() + m_bytes);
}

std::vector<unsigned char> Bytes(const std::string& text) {
  return std::vector<unsigned char>(text.begin(), text.end());
}

std::vector<unsigned char> Pattern(size_t size, unsigned seed) {
  std::vector<unsigned char> bytes(size);
  for (size_t index = 0; index < size; ++index) {
    bytes[index] = static_cast<unsigned char>(seed + index * kPatternStep);
  }
  return bytes;
}

bool PlainWrite(HANDLE pipe, const std::vector<unsigned char>& data) {
  DWORD written = 0;
  return ::WriteFile(pipe, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) !=
         FALSE;
}
