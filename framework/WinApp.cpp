#include "framework/WinApp.h"

#include <cstring>

namespace {
CWinApp* g_pApp = nullptr;

CString ProgramNameWithoutExtension() {
  char path[MAX_PATH] = "";
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return CString();
  char* name = path;
  for (char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  if (char* dot = std::strrchr(name, '.')) *dot = '\0';
  return CString(name);
}
}  // namespace

CWinApp::CWinApp() : m_strAppName(ProgramNameWithoutExtension()) { g_pApp = this; }

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

HICON CWinApp::LoadIcon(UINT id) const {
  return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

void CWinApp::SetRegistryKey(const char* key) { m_strRegistryKey = key; }

CWinApp* AfxGetApp() { return g_pApp; }

void AfxEnableControlContainer() {}

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (!app || !app->InitInstance()) return 0;
  // An application that keeps running after start-up pumps its own messages.
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
