#pragma once
#include "framework/WinApp.h"

// The application: shows the main dialog once and ends when it closes.
class CQuelvoApp : public CWinApp {
 public:
  CQuelvoApp();
  ~CQuelvoApp() override;

  BOOL InitInstance() override;
};
