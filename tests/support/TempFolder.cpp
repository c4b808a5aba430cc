#include "tests/support/TempFolder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<unsigned> g_counter{0};

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(full.c_str());
      }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(folder.c_str());
}
}  // namespace

TempFolder::TempFolder() {
  char base[MAX_PATH];
  ::GetTempPathA(MAX_PATH, base);
  char name[MAX_PATH];
  std::snprintf(name, sizeof name, "%squelvo-%lu-%lu-%u", base, ::GetCurrentProcessId(),
                ::GetTickCount(), g_counter++);
  m_path = name;
  ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::string TempFolder::operator/(const std::string& name) const { return m_path + "\\" + name; }
