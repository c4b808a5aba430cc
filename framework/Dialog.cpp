#include "framework/Dialog.h"

#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  // A dialog without a parent is owned by the main window, so that it is
  // modal to it, as the About box must be.
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  CWinApp* app = AfxGetApp();
  if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->m_hWnd;
  if (owner && !::IsWindow(owner)) owner = nullptr;
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CDialog::Default() {
  m_bDefaultRequested = true;
  return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->m_hWnd = hwnd;
    return self->OnInitDialog();
  }
  CDialog* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->m_hWnd = nullptr;
    return FALSE;
  }
  return self->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Handlers may pump messages and so be entered again; keep the outer state.
  CurrentMessage outerMessage = m_current;
  bool outerDefault = m_bDefaultRequested;
  m_current = {message, wParam, lParam};
  m_bDefaultRequested = false;

  LRESULT result = 0;
  bool handled = OnWndMsg(message, wParam, lParam, result);
  if (!handled && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      handled = true;
    } else if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      handled = true;
    }
  }
  handled = handled && !m_bDefaultRequested;

  m_current = outerMessage;
  m_bDefaultRequested = outerDefault;
  if (!handled) return FALSE;

  switch (message) {
    // These few return their result straight from the dialog procedure.
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return static_cast<INT_PTR>(result);
    default:
      if (m_hWnd) ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}
