#pragma once
// A small 8-bit string in the place of the class library's string: only what
// the dialogs and the progress bar use.
#include <windows.h>

#include <string>

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}

  // Loads a string resource of the program; false when it is missing or empty.
  BOOL LoadString(UINT id);

  bool IsEmpty() const { return m_text.empty(); }
  const char* GetString() const { return m_text.c_str(); }
  operator const char*() const { return m_text.c_str(); }

  CString& operator=(const char* text);

 private:
  std::string m_text;
};
