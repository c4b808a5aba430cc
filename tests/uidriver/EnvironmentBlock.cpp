#include "tests/uidriver/EnvironmentBlock.h"

#include <windows.h>

#include <cstring>

namespace uidriver {
namespace {

// The block that GetEnvironmentStringsA hands out, freed when done.
class ProcessEnvironment {
 public:
  ProcessEnvironment() : m_strings(::GetEnvironmentStringsA()) {}
  ~ProcessEnvironment() {
    if (m_strings) ::FreeEnvironmentStringsA(m_strings);
  }
  ProcessEnvironment(const ProcessEnvironment&) = delete;
  ProcessEnvironment& operator=(const ProcessEnvironment&) = delete;
  const char* get() const { return m_strings; }

 private:
  char* m_strings;
};

// Entries such as "=C:=C:\folder" start with '=': their name runs to the
// second '='.
std::string NameOf(const std::string& entry) {
  std::size_t equals = entry.find('=', 1);
  return entry.substr(0, equals);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

EnvironmentBlock::EnvironmentBlock() {
  ProcessEnvironment environment;
  for (const char* entry = environment.get(); entry && *entry; entry += std::strlen(entry) + 1) {
    m_entries.emplace_back(entry);
  }
}

void EnvironmentBlock::Set(const std::string& name, const std::string& value) {
  std::string entry = name + "=" + value;
  for (std::string& existing : m_entries) {
    if (SameName(NameOf(existing), name)) {
      existing = entry;
      return;
    }
  }
  m_entries.push_back(entry);
}

void EnvironmentBlock::SetAll(const EnvironmentVariables& variables) {
  for (const auto& variable : variables) Set(variable.first, variable.second);
}

char* EnvironmentBlock::Data() {
  m_block.clear();
  for (const std::string& entry : m_entries) {
    m_block.insert(m_block.end(), entry.begin(), entry.end());
    m_block.push_back('\0');
  }
  m_block.push_back('\0');
  if (m_entries.empty()) m_block.push_back('\0');
  return m_block.data();
}

}  // namespace uidriver
