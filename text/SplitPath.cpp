#include "text/SplitPath.h"

#include <cstring>

namespace {
// Copies [begin, end) into a buffer of `size` bytes, cut to fit, zero-terminated.
void CopyPart(const char* begin, const char* end, char* destination, size_t size) {
  size_t length = static_cast<size_t>(end - begin);
  if (length > size - 1) length = size - 1;
  std::memcpy(destination, begin, length);
  destination[length] = '\0';
}
}  // namespace

void SplitPath(const char* path, char (&drive)[kDriveSize], char (&folder)[kFolderSize],
               char (&fileName)[kFileNameSize], char (&extension)[kExtensionSize]) {
  const char* rest = path;
  if (path[0] != '\0' && path[1] == ':') rest = path + 2;
  CopyPart(path, rest, drive, kDriveSize);

  const char* name = rest;
  for (const char* p = rest; *p; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  CopyPart(rest, name, folder, kFolderSize);

  const char* end = name + std::strlen(name);
  const char* dot = std::strrchr(name, '.');
  const char* extensionStart = dot ? dot : end;
  CopyPart(name, extensionStart, fileName, kFileNameSize);
  CopyPart(extensionStart, end, extension, kExtensionSize);
}
