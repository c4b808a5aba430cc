#include "bench/ImageFolder.h"

#include <vector>

#include "framework/UniqueResource.h"

namespace {
constexpr DWORD kHeaderBytes = 1024;
constexpr DWORD kStartCommandBytes = 20;
constexpr unsigned char kMarker = '#';
constexpr unsigned char kSendFlag = 1;
constexpr DWORD kWriteBlockBytes = 1024 * 1024;

// xorshift32: fast, and the bytes need only look unlike a pattern.
class ByteSource {
 public:
  explicit ByteSource(unsigned seed) : m_state(seed * 2654435761u + 1) {}
  void Fill(unsigned char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      m_state ^= m_state << 13;
      m_state ^= m_state >> 17;
      m_state ^= m_state << 5;
      bytes[i] = static_cast<unsigned char>(m_state);
    }
  }

 private:
  unsigned m_state;
};

bool WriteAll(HANDLE file, const unsigned char* bytes, DWORD count) {
  DWORD written = 0;
  return ::WriteFile(file, bytes, count, &written, nullptr) && written == count;
}
}  // namespace

bool ImageFolder::AddImage(const std::string& name, DWORD payloadBytes, unsigned seed) {
  UniqueHandle file(::CreateFileA((m_folder / name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  ByteSource source(seed);
  std::vector<unsigned char> block(kWriteBlockBytes);
  std::vector<unsigned char> header(kHeaderBytes, 0);
  header[0] = kMarker;
  header[1] = kSendFlag;
  source.Fill(header.data() + 2, kStartCommandBytes - 2);
  if (!WriteAll(file.get(), header.data(), kHeaderBytes)) return false;
  for (DWORD left = payloadBytes; left > 0;) {
    const DWORD count = left < kWriteBlockBytes ? left : kWriteBlockBytes;
    source.Fill(block.data(), count);
    if (!WriteAll(file.get(), block.data(), count)) return false;
    left -= count;
  }
  m_wireBytes += kStartCommandBytes + payloadBytes;
  m_payloadBytes += payloadBytes;
  return true;
}
