#pragma once
// A message box of another process: its caption, text and icon, and its OK
// button.
#include <windows.h>

#include <optional>
#include <string>

#include "tests/uidriver/BoxIcon.h"
#include "tests/uidriver/DialogWindow.h"

namespace uidriver {

class MessageBoxWindow : public DialogWindow {
 public:
  MessageBoxWindow() = default;
  explicit MessageBoxWindow(HWND window) : DialogWindow(window) {}

  // A "#32770" window with a text static of id 0xFFFF whose icon, if any,
  // has an id of its own. Dialogs from templates with unnamed statics, such as the
  // About box, give their icon the id 0xFFFF too, and so are no message box.
  static bool IsMessageBox(HWND window);

  std::optional<std::string> Text() const;
  // Reads the icon off the screen; waits up to settleMs for it to be drawn.
  BoxIcon Icon(DWORD settleMs = kDefaultIconSettleMs) const;
  bool PressOk() const { return Click(IDOK); }

  static constexpr DWORD kDefaultIconSettleMs = 3000;

 private:
  HWND IconControl() const;
  HWND TextControl() const;
};

}  // namespace uidriver
