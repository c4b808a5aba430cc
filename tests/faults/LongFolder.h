#pragma once
// A folder whose full path has exactly the length asked for, made, filled and
// removed through the wide functions and the long-path form, which the
// 260-character limit of the ANSI functions does not bind.
#include <string>
#include <vector>

#include "tests/update/UpdateImages.h"

class LongFolder {
 public:
  // Made inside `base`; path() is empty when it could not be made.
  LongFolder(const std::string& base, size_t length);
  ~LongFolder();
  LongFolder(const LongFolder&) = delete;
  LongFolder& operator=(const LongFolder&) = delete;

  const std::string& path() const { return m_path; }
  bool Write(const std::string& name, const Bytes& bytes);

 private:
  std::string m_path;
  std::vector<std::string> m_made;
  std::vector<std::string> m_files;
};
