#pragma once
// Data exchange between a dialog and its controls. The dialogs here exchange
// no values; they only attach control objects to their windows.
#include <windows.h>

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Attaches control `id` of the dialog to `control` the first time; later
// exchanges leave an attached control alone.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
