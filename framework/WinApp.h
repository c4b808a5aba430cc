#pragma once
// The application object: exactly one, a global built before start-up. The
// program's entry point hands control to its InitInstance.
#include "framework/AfxString.h"
#include "framework/Wnd.h"

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();

  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // FALSE ends the program at once, without a message loop of the
  // application's own.
  virtual BOOL InitInstance();

  HICON LoadIcon(UINT id) const;
  // Names where settings would be kept; the program keeps none.
  void SetRegistryKey(const char* key);

  // The program's file name without folder and extension: the caption of
  // every message box.
  const char* AppName() const { return m_strAppName; }

  CWnd* m_pMainWnd = nullptr;

 private:
  CString m_strAppName;
  CString m_strRegistryKey;
};

CWinApp* AfxGetApp();

// Would enable hosting of ActiveX controls; neither dialog holds any.
void AfxEnableControlContainer();

// The body of WinMain: runs the application object's start-up.
int AfxWinMain();
