#include "tests/support/TestFiles.h"

#include <windows.h>

#include <fstream>
#include <iterator>

std::string BinFolder() {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string full(path, length);
  return full.substr(0, full.find_last_of("\\/"));
}

std::string BinPath(const std::string& name) { return BinFolder() + "\\" + name; }

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteText(const std::string& path, const std::string& text) {
  return WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

bool CopyInto(const std::string& sourcePath, const std::string& folder, const std::string& name) {
  return ::CopyFileA(sourcePath.c_str(), (folder + "\\" + name).c_str(), FALSE) != FALSE;
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
