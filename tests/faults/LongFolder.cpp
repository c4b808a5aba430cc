#include "tests/faults/LongFolder.h"

#include <windows.h>

#include "framework/UniqueResource.h"

namespace {
constexpr size_t kPartLength = 100;

// The test's paths are plain ASCII.
std::wstring LongForm(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}
}  // namespace

LongFolder::LongFolder(const std::string& base, size_t length) {
  std::string path = base;
  while (path.size() < length) {
    size_t part = length - path.size() - 1;
    if (part > kPartLength) part = kPartLength;
    if (part == 0) part = 1;
    path += "\\" + std::string(part, 'q');
    if (!::CreateDirectoryW(LongForm(path).c_str(), nullptr)) return;
    m_made.push_back(path);
  }
  m_path = path;
}

LongFolder::~LongFolder() {
  for (const std::string& file : m_files) ::DeleteFileW(LongForm(file).c_str());
  for (auto folder = m_made.rbegin(); folder != m_made.rend(); ++folder) {
    ::RemoveDirectoryW(LongForm(*folder).c_str());
  }
}

bool LongFolder::Write(const std::string& name, const Bytes& bytes) {
  m_files.push_back(m_path + "\\" + name);
  UniqueHandle file(::CreateFileW(LongForm(m_files.back()).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}
