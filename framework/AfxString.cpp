#include "framework/AfxString.h"

namespace {
// Resource strings are at most this long by the resource format's own rule.
constexpr int kMaxResourceString = 4096;
}  // namespace

BOOL CString::LoadString(UINT id) {
  char buffer[kMaxResourceString];
  int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, kMaxResourceString);
  m_text.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  return length > 0;
}

CString& CString::operator=(const char* text) {
  m_text = text ? text : "";
  return *this;
}
