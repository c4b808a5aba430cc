// Stand-in for the driver installer: shows nothing, and appends one line to
// Prossel.log beside its own file for each start, so tests can tell whether,
// how often and from which current folder it was started:
//   <system time as a FILETIME count> <tab> <current folder> CR LF
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/UniqueResource.h"

namespace {
constexpr char kLogName[] = "Prossel.log";
constexpr size_t kLineBytes = 2 * MAX_PATH;

std::string OwnFolder() {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string full(path, length);
  return full.substr(0, full.find_last_of("\\/"));
}

std::string StartLine() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  unsigned long long time =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  char folder[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  char line[kLineBytes];
  std::snprintf(line, sizeof line, "%llu\t%s\r\n", time, folder);
  return line;
}

void AppendToLog(const std::string& path, const std::string& line) {
  // Appending writes go to the end even when two starts overlap.
  UniqueHandle log(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) return;
  DWORD written = 0;
  ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  AppendToLog(OwnFolder() + "\\" + kLogName, StartLine());
  return 0;
}
