#pragma once
// Everything the host wrote to PIPE00, write by write: one contiguous byte
// buffer and the end offset of each write, so that recording a write costs
// one append. All methods are thread-safe.
#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

class DeviceCapture {
 public:
  DeviceCapture();

  void Record(const unsigned char* data, size_t size);
  void Clear();

  std::vector<std::vector<unsigned char>> Writes() const;
  std::vector<unsigned char> Bytes() const;
  std::vector<size_t> WriteSizes() const;
  size_t WriteCount() const;
  unsigned long long TotalBytes() const;

  // Appends the writes from index `firstWrite` on to `bytes` and their sizes
  // to `sizes`; returns the index after the last one copied.
  size_t CopyWritesSince(size_t firstWrite, std::vector<unsigned char>& bytes,
                         std::vector<size_t>& sizes) const;

  // Bounded waits; true once the capture holds that much.
  bool WaitForTotalBytes(unsigned long long total, DWORD timeoutMs) const;
  bool WaitForWriteCount(size_t count, DWORD timeoutMs) const;

 private:
  size_t WriteBegin(size_t index) const { return index == 0 ? 0 : m_writeEnds[index - 1]; }
  template <class Condition>
  bool WaitUntil(Condition condition, DWORD timeoutMs) const;

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<unsigned char> m_bytes;
  std::vector<size_t> m_writeEnds;
};
