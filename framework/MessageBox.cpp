#include "framework/MessageBox.h"

#include "framework/WinApp.h"

int AfxMessageBox(const char* text, UINT type) {
  if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
  CWinApp* app = AfxGetApp();
  HWND owner = nullptr;
  if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd)) {
    owner = app->m_pMainWnd->m_hWnd;
  }
  return ::MessageBoxA(owner, text ? text : "", app ? app->AppName() : "", type);
}
