#include "update/UpdateFile.h"

#include "text/FormatFixed.h"

namespace {
// Only a file that is not there may be skipped in silence: one that is there
// but cannot be opened would otherwise be left out of the update unnoticed.
bool NamesNothing(const char* path) {
  if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
}  // namespace

HeaderCheck CheckUpdateHeader(CFile& file, const char* path, BYTE (&header)[kHeaderCheckSize]) {
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareExclusive)) {
    return NamesNothing(path) ? HeaderCheck::Absent : HeaderCheck::Unreadable;
  }
  UINT got = file.Read(header, kHeaderCheckSize);
  file.Close();
  if (got < kHeaderCheckSize) return HeaderCheck::TooShort;
  if (header[kMarkerOffset] != kImageMarker) return HeaderCheck::NotMarked;
  return HeaderCheck::Readable;
}

bool SendFlagSet(const BYTE (&header)[kHeaderCheckSize]) { return header[kSendFlagOffset] != 0; }

void FormUpdateFilePath(const char* folder, const char* fileName, FixedText& path) {
  if (folder[0] != '\0') {
    if (FormatFixed(path, "%s%s", folder, fileName) >= 0) return;
    FixedText shortFolder;
    const DWORD length = ::GetShortPathNameA(folder, shortFolder, kFixedTextSize);
    if (length > 0 && length < kFixedTextSize &&
        FormatFixed(path, "%s%s", shortFolder, fileName) >= 0) {
      return;
    }
  }
  // The names begin with a separator; without it they are relative.
  FormatFixed(path, "%s", fileName + 1);
}

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
