#pragma once
// The device context of one paint cycle: BeginPaint when made, EndPaint when
// it ends.
#include "framework/Dc.h"

class CWnd;

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
};
