#pragma once
// The platform's progress bar taken over as a control object. Range and
// position go to the control by its own messages; a derived class may paint
// the control itself.
#include <windows.h>
// windows.h must come first.
#include <commctrl.h>

#include "framework/Wnd.h"

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper);
  int SetPos(int pos);
};
