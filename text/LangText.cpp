#include "text/LangText.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "text/FormatFixed.h"
#include "text/SplitPath.h"

namespace {
// Longest path the wide Windows API accepts; the module path of a program in
// a deep folder can exceed 260 characters.
constexpr DWORD kLongPathSize = 32768;

// For a program folder too long for a 260-byte path, the folder's short
// (8.3) form may still fit. The long-path buffers live on the heap: the image
// sender's thread looks texts up too.
bool ShortLangFilePath(FixedText& path) {
  std::vector<char> longPath(kLongPathSize);
  DWORD length = ::GetModuleFileNameA(::GetModuleHandleA(nullptr), longPath.data(), kLongPathSize);
  if (length == 0 || length >= kLongPathSize) return false;
  char* lastSeparator = std::strrchr(longPath.data(), '\\');
  if (!lastSeparator) return false;
  lastSeparator[1] = '\0';
  std::vector<char> shortFolder(kLongPathSize);
  DWORD shortLength = ::GetShortPathNameA(longPath.data(), shortFolder.data(), kLongPathSize);
  if (shortLength == 0 || shortLength >= kLongPathSize) return false;
  return FormatFixed(path, "%s%s", shortFolder.data(), kLangFileName) >= 0;
}
}  // namespace

bool LangFilePath(FixedText& path) {
  FixedText modulePath = "";
  DWORD length = ::GetModuleFileNameA(::GetModuleHandleA(nullptr), modulePath, kFixedTextSize);
  if (length == 0 || length >= kFixedTextSize) return ShortLangFilePath(path);

  char drive[kDriveSize];
  char folder[kFolderSize];
  char fileName[kFileNameSize];
  char extension[kExtensionSize];
  SplitPath(modulePath, drive, folder, fileName, extension);
  if (FormatFixed(path, "%s%s%s", drive, folder, kLangFileName) < 0) return ShortLangFilePath(path);
  return true;
}

char* LookUpLangText(const char* section, const char* key, FixedText& text) {
  FixedText langPath;
  if (!LangFilePath(langPath)) {
    text[0] = '\0';
    return text;
  }
  ::GetPrivateProfileStringA(section, key, "", text, kFixedTextSize, langPath);
  return text;
}
