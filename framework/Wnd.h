#pragma once
// A window object: the window handle plus the few window operations the
// program uses. A control object can take over (subclass) an existing control
// window; its messages then reach WindowProc, and Default() hands the current
// message to the control's own window procedure.
#include <windows.h>

class CDataExchange;

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();

  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  void SetWindowText(const char* text);
  void SetDlgItemText(int id, const char* text);
  HWND GetDlgItem(int id) const;
  BOOL EnableDlgItem(int id, BOOL enable);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
  HMENU GetSystemMenu(BOOL revert) const;
  HICON SetIcon(HICON icon, BOOL big);
  BOOL IsIconic() const;
  void GetClientRect(RECT* rect) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Runs DoDataExchange; FALSE moves values toward the controls.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);

  // Takes over the window of control `id` of `parent`.
  BOOL SubclassDlgItem(int id, CWnd* parent);

  HWND m_hWnd = nullptr;

 protected:
  // Handles one message of a subclassed control; the base passes it on.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Hands the message being handled to the default handling.
  virtual LRESULT Default();

  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  CurrentMessage m_current{};

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void UnsubclassWindow();

  WNDPROC m_pfnSuper = nullptr;
};
