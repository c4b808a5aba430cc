#pragma once
#include "framework/Dialog.h"

// The About box, opened from the system menu.
class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  ~CAboutDlg() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
