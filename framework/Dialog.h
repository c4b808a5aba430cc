#pragma once
// A modal dialog made from a dialog template. The static dialog procedure
// forwards every message to the object; a derived dialog answers with its own
// message map (OnWndMsg), and what it does not handle, or hands back with
// Default(), gets the platform's dialog handling. IDOK and IDCANCEL that the
// map does not take end the dialog through OnOK and OnCancel.
#include "framework/Wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog until it ends; -1 when it could not be created.
  INT_PTR DoModal();
  void EndDialog(INT_PTR result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  // The derived dialog's message map; false when no row matches.
  virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Marks the message being handled for the platform's default handling.
  LRESULT Default() override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_templateId;
  CWnd* m_pParentWnd;
  bool m_bDefaultRequested = false;
};
