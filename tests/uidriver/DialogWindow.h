#pragma once
// A dialog window of another process, driven from outside: texts are read
// with bounded sends (a user-interface thread inside a long loop answers no
// plain SendMessage) and every action is posted, so that a handler that runs
// a long loop never blocks the test.
#include <windows.h>

#include <optional>
#include <string>

#include "tests/uidriver/PixelImage.h"
#include "tests/uidriver/Poll.h"

namespace uidriver {

constexpr DWORD kSendTimeoutMs = 5000;
// Message boxes and dialogs from templates give unnamed statics this id.
constexpr int kUnnamedStaticId = 0xFFFF;

class DialogWindow {
 public:
  DialogWindow() = default;
  explicit DialogWindow(HWND window) : m_window(window) {}

  HWND Handle() const { return m_window; }
  // The window still exists (it may have closed since it was found).
  bool Exists() const;
  explicit operator bool() const { return Exists(); }

  // Window caption; nullopt when the window is gone.
  std::optional<std::string> Caption() const;
  // First direct child with this id (compared in its low 16 bits), or null.
  HWND Control(int id) const;
  // Text of control id; nullopt when there is no such control or it did not
  // answer within kSendTimeoutMs.
  std::optional<std::string> ControlText(int id) const;
  std::optional<bool> IsControlEnabled(int id) const;
  std::optional<bool> IsControlVisible(int id) const;

  // Posts WM_COMMAND/BN_CLICKED for control id, as a click does; reaches the
  // handler even when the button is disabled.
  bool Click(int id) const;
  // Posts WM_SYSCOMMAND with this command id (SC_CLOSE, a system-menu item).
  bool SysCommand(UINT command) const;
  // Posts the Escape key to the control that has the focus (or the dialog),
  // which the dialog's message loop turns into IDCANCEL.
  bool PressEscape() const;
  // The close box of the caption: SC_CLOSE.
  bool CloseBox() const;

  bool WaitUntilClosed(DWORD timeoutMs = kDefaultTimeoutMs) const;

  // What the screen shows of the window right now.
  PixelImage Capture() const;
  bool SaveScreenshot(const std::string& pngPath) const;

 private:
  HWND m_window = nullptr;
};

// Bounded WM_GETTEXT on any window; nullopt when it does not answer.
std::optional<std::string> ReadWindowText(HWND window);

}  // namespace uidriver
