#pragma once
// The environment for a child process: ours, with some variables added or
// replaced, as the block CreateProcessA takes.
#include <string>
#include <utility>
#include <vector>

namespace uidriver {

using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

class EnvironmentBlock {
 public:
  // Starts from the calling process's own environment.
  EnvironmentBlock();

  // Names compare without regard to case, as Windows does.
  void Set(const std::string& name, const std::string& value);
  void SetAll(const EnvironmentVariables& variables);

  // "NAME=value\0...\0\0"; valid until the next change.
  char* Data();

 private:
  std::vector<std::string> m_entries;
  std::vector<char> m_block;
};

}  // namespace uidriver
