#pragma once
// A fresh folder of a test's own, removed with everything in it when the test
// ends, so that no test sees another's leftovers.
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return m_path; }
  // path() + "\\" + name
  std::string operator/(const std::string& name) const;

 private:
  std::string m_path;
};
