#include "emulator/CaptureWriter.h"

#include <cstdio>
#include <vector>

#include "emulator/DeviceEmulator.h"

namespace {
constexpr DWORD kFlushIntervalMs = 20;
constexpr size_t kStateLineBytes = 64;

HANDLE CreateOutputFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

void WriteAll(HANDLE file, const void* data, size_t size) {
  DWORD written = 0;
  ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
}
}  // namespace

CaptureWriter::CaptureWriter(const DeviceEmulator& device, const std::string& path)
    : m_device(device),
      m_statePath(path + ".state"),
      m_bytesFile(CreateOutputFile(path)),
      m_sizesFile(CreateOutputFile(path + ".sizes")),
      m_stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  WriteState();
  m_thread = std::thread(&CaptureWriter::Run, this);
}

CaptureWriter::~CaptureWriter() {
  ::SetEvent(m_stop.get());
  if (m_thread.joinable()) m_thread.join();
  Flush();
}

void CaptureWriter::Run() {
  while (::WaitForSingleObject(m_stop.get(), kFlushIntervalMs) == WAIT_TIMEOUT) Flush();
}

void CaptureWriter::Flush() {
  std::vector<unsigned char> bytes;
  std::vector<size_t> sizes;
  m_nextWrite = m_device.Capture().CopyWritesSince(m_nextWrite, bytes, sizes);
  if (!bytes.empty() && m_bytesFile) WriteAll(m_bytesFile.get(), bytes.data(), bytes.size());
  if (!sizes.empty() && m_sizesFile) {
    std::string lines;
    for (size_t size : sizes) lines += std::to_string(size) + "\r\n";
    WriteAll(m_sizesFile.get(), lines.data(), lines.size());
  }
  WriteState();
}

// present=0|1, presence_opens, out_opens, in_opens, replies_taken, writes,
// bytes; replaced whole (write a new file, then rename) when it changes.
void CaptureWriter::WriteState() {
  char text[kStateLineBytes * 8];
  std::snprintf(text, sizeof text,
                "present=%d\r\npresence_opens=%u\r\nout_opens=%u\r\nin_opens=%u\r\n"
                "replies_taken=%u\r\nwrites=%zu\r\nbytes=%llu\r\n",
                m_device.IsPresent() ? 1 : 0, m_device.OpenCount(DevicePipe::Presence),
                m_device.OpenCount(DevicePipe::Out), m_device.OpenCount(DevicePipe::In),
                m_device.RepliesTaken(), m_nextWrite, m_device.Capture().TotalBytes());
  if (m_lastState == text) return;
  std::string temporary = m_statePath + ".new";
  {
    UniqueHandle file(CreateOutputFile(temporary));
    if (!file) return;
    WriteAll(file.get(), text, std::char_traits<char>::length(text));
  }
  if (::MoveFileExA(temporary.c_str(), m_statePath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    m_lastState = text;
  }
}
