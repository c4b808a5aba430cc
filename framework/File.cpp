#include "framework/File.h"

BOOL CFile::Open(const char* path, UINT flags) {
  Close();
  DWORD share = (flags & shareExclusive) ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  m_hFile.reset(::CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return m_hFile.valid();
}

UINT CFile::Read(void* buffer, UINT count) {
  // ReadFile may return fewer bytes than asked even before the end of a file;
  // keep reading until the count is met or nothing more comes.
  UINT total = 0;
  while (total < count) {
    DWORD got = 0;
    if (!::ReadFile(m_hFile.get(), static_cast<char*>(buffer) + total, count - total, &got,
                    nullptr) ||
        got == 0) {
      break;
    }
    total += got;
  }
  return total;
}

void CFile::Close() { m_hFile.reset(); }
