#include "app/QuelvoApp.h"

#include <windows.h>
// windows.h must come first.
#include <commctrl.h>

#include "app/QuelvoDlg.h"

namespace {
const char kRegistryKey[] = "Local AppWizard-Generated Applications";
}  // namespace

CQuelvoApp theApp;

CQuelvoApp::CQuelvoApp() = default;

CQuelvoApp::~CQuelvoApp() = default;

BOOL CQuelvoApp::InitInstance() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  CWinApp::InitInstance();
  AfxEnableControlContainer();
  SetRegistryKey(kRegistryKey);

  CQuelvoDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  // FALSE: the program ends without a message loop of its own.
  return FALSE;
}
