#include "framework/Wnd.h"

#include "framework/DataExchange.h"

namespace {
// The window property under which a subclassed control finds its object.
const char kObjectProperty[] = "Quelvo.CWnd";
}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }

void CWnd::SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }

HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

BOOL CWnd::EnableDlgItem(int id, BOOL enable) { return ::EnableWindow(GetDlgItem(id), enable); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
  return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent) {
  HWND control = ::GetDlgItem(parent->m_hWnd, id);
  if (!control || m_hWnd) return FALSE;
  m_hWnd = control;
  ::SetPropA(control, kObjectProperty, this);
  m_pfnSuper = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
  return TRUE;
}

void CWnd::UnsubclassWindow() {
  if (!m_pfnSuper) return;
  if (::IsWindow(m_hWnd)) {
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::RemovePropA(m_hWnd, kObjectProperty);
  }
  m_pfnSuper = nullptr;
  m_hWnd = nullptr;
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) { return Default(); }

LRESULT CWnd::Default() {
  return ::CallWindowProcA(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam,
                           m_current.lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty));
  if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

  WNDPROC super = self->m_pfnSuper;
  if (message == WM_NCDESTROY) {
    // The window goes away before the object: give the control back its own
    // procedure so nothing reaches the object afterwards.
    self->UnsubclassWindow();
    return ::CallWindowProcA(super, hwnd, message, wParam, lParam);
  }
  // Handlers may pump messages and so be entered again; keep the outer message.
  CurrentMessage outer = self->m_current;
  self->m_current = {message, wParam, lParam};
  LRESULT result = self->WindowProc(message, wParam, lParam);
  self->m_current = outer;
  return result;
}
