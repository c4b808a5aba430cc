#include "emulator/DeviceCapture.h"

#include <chrono>

namespace {
// Enough for a few update images before the buffer grows.
constexpr size_t kInitialCaptureBytes = 4 * 1024 * 1024;
constexpr size_t kInitialWriteCount = 4096;
}  // namespace

DeviceCapture::DeviceCapture() {
  m_bytes.reserve(kInitialCaptureBytes);
  m_writeEnds.reserve(kInitialWriteCount);
}

void DeviceCapture::Record(const unsigned char* data, size_t size) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bytes.insert(m_bytes.end(), data, data + size);
    m_writeEnds.push_back(m_bytes.size());
  }
  m_changed.notify_all();
}

void DeviceCapture::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_bytes.clear();
  m_writeEnds.clear();
}

std::vector<std::vector<unsigned char>> DeviceCapture::Writes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::vector<unsigned char>> writes;
  writes.reserve(m_writeEnds.size());
  for (size_t index = 0; index < m_writeEnds.size(); ++index) {
    writes.emplace_back(m_bytes.begin() + WriteBegin(index), m_bytes.begin() + m_writeEnds[index]);
  }
  return writes;
}

std::vector<unsigned char> DeviceCapture::Bytes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bytes;
}

std::vector<size_t> DeviceCapture::WriteSizes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<size_t> sizes;
  sizes.reserve(m_writeEnds.size());
  for (size_t index = 0; index < m_writeEnds.size(); ++index) {
    sizes.push_back(m_writeEnds[index] - WriteBegin(index));
  }
  return sizes;
}

size_t DeviceCapture::WriteCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_writeEnds.size();
}

unsigned long long DeviceCapture::TotalBytes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bytes.size();
}

size_t DeviceCapture::CopyWritesSince(size_t firstWrite, std::vector<unsigned char>& bytes,
                                      std::vector<size_t>& sizes) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (firstWrite >= m_writeEnds.size()) return m_writeEnds.size();
  bytes.insert(bytes.end(), m_bytes.begin() + WriteBegin(firstWrite), m_bytes.end());
  for (size_t index = firstWrite; index < m_writeEnds.size(); ++index) {
    sizes.push_back(m_writeEnds[index] - WriteBegin(index));
  }
  return m_writeEnds.size();
}

template <class Condition>
bool DeviceCapture::WaitUntil(Condition condition, DWORD timeoutMs) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), condition);
}

bool DeviceCapture::WaitForTotalBytes(unsigned long long total, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_bytes.size() >= total; }, timeoutMs);
}

bool DeviceCapture::WaitForWriteCount(size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return m_writeEnds.size() >= count; }, timeoutMs);
}
