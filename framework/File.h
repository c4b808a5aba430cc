#pragma once
// A file opened for reading, as the header check needs it.
#include "framework/UniqueResource.h"

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    shareExclusive = 0x0010,
    typeBinary = 0x8000,
  };

  CFile() = default;

  // Only reading is supported: modeRead, with shareExclusive to let no one
  // else open the file meanwhile. typeBinary is the only mode there is.
  BOOL Open(const char* path, UINT flags);
  // Reads up to `count` bytes; returns how many came (0 at the end or on error).
  UINT Read(void* buffer, UINT count);
  void Close();

 private:
  UniqueHandle m_hFile;
};
