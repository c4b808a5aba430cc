#pragma once
// What the image sender shows on the dialog while it works. The dialog
// implements it; the calls come from the sender's thread and complete while
// the dialog's thread pumps messages, except ShowProgress, which returns at
// once and is shown in order before the calls that follow it.
class SenderView {
 public:
  virtual void DisableUpdateButton() = 0;
  virtual void ShowProgress(int position) = 0;
  virtual void ShowResult(const char* text) = 0;

 protected:
  ~SenderView() = default;
};
