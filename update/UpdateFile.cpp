#include "update/UpdateFile.h"

HeaderCheck CheckUpdateHeader(CFile& file, const char* path, BYTE (&header)[kHeaderCheckSize]) {
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareExclusive)) {
    return HeaderCheck::Unopenable;
  }
  UINT got = file.Read(header, kHeaderCheckSize);
  file.Close();
  if (got < kHeaderCheckSize) return HeaderCheck::TooShort;
  if (header[kMarkerOffset] != kImageMarker) return HeaderCheck::NotMarked;
  return HeaderCheck::Readable;
}

bool SendFlagSet(const BYTE (&header)[kHeaderCheckSize]) { return header[kSendFlagOffset] != 0; }

bool LoadUpdateImage(const char* path, UniqueHeapBlock& image, DWORD& size) {
  UniqueHandle file(
      ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  DWORD sizeHigh = 0;
  DWORD sizeLow = ::GetFileSize(file.get(), &sizeHigh);
  if (sizeLow == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return false;
  if (sizeHigh != 0) return false;

  UniqueHeapBlock block(::HeapAlloc(::GetProcessHeap(), 0, sizeLow ? sizeLow : 1));
  if (!block) return false;
  DWORD got = 0;
  if (!::ReadFile(file.get(), block.get(), sizeLow, &got, nullptr) || got != sizeLow) return false;
  image = std::move(block);
  size = got;
  return true;
}
