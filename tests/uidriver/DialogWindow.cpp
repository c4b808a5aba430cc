#include "tests/uidriver/DialogWindow.h"

#include <vector>

#include "tests/uidriver/WindowCapture.h"

namespace uidriver {
namespace {

constexpr UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
constexpr int kLowWordMask = 0xFFFF;
// Key message lParam: repeat count 1; key-up adds "was down" and "released".
constexpr LPARAM kRepeatOnce = 1;
constexpr LPARAM kKeyUpFlags = (LPARAM{1} << 30) | (LPARAM{1} << 31);
constexpr int kScanCodeShift = 16;

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return ::SendMessageTimeoutA(window, message, wParam, lParam, kSendFlags, kSendTimeoutMs,
                               &result) != 0;
}

HWND FocusedControlOf(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
  if (thread && ::GetGUIThreadInfo(thread, &info) && info.hwndFocus &&
      ::IsChild(dialog, info.hwndFocus)) {
    return info.hwndFocus;
  }
  return dialog;
}

}  // namespace

std::optional<std::string> ReadWindowText(HWND window) {
  if (!window) return std::nullopt;
  DWORD_PTR length = 0;
  if (!SendBounded(window, WM_GETTEXTLENGTH, 0, 0, length)) return std::nullopt;
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendBounded(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                   copied)) {
    return std::nullopt;
  }
  return std::string(text.data(), copied < text.size() ? copied : text.size() - 1);
}

bool DialogWindow::Exists() const { return m_window && ::IsWindow(m_window); }

std::optional<std::string> DialogWindow::Caption() const {
  if (!Exists()) return std::nullopt;
  // Reading another process's caption sends no message, so it answers even
  // while that process is busy.
  int length = ::GetWindowTextLengthA(m_window);
  std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  int copied = ::GetWindowTextA(m_window, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

HWND DialogWindow::Control(int id) const {
  if (!Exists()) return nullptr;
  for (HWND child = ::GetWindow(m_window, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((::GetWindowLongPtrA(child, GWLP_ID) & kLowWordMask) == (id & kLowWordMask)) return child;
  }
  return nullptr;
}

std::optional<std::string> DialogWindow::ControlText(int id) const {
  HWND control = Control(id);
  if (!control) return std::nullopt;
  return ReadWindowText(control);
}

std::optional<bool> DialogWindow::IsControlEnabled(int id) const {
  HWND control = Control(id);
  if (!control) return std::nullopt;
  return ::IsWindowEnabled(control) != FALSE;
}

std::optional<bool> DialogWindow::IsControlVisible(int id) const {
  HWND control = Control(id);
  if (!control) return std::nullopt;
  return ::IsWindowVisible(control) != FALSE;
}

bool DialogWindow::Click(int id) const {
  if (!Exists()) return false;
  return ::PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(Control(id))) != FALSE;
}

bool DialogWindow::SysCommand(UINT command) const {
  return Exists() && ::PostMessageA(m_window, WM_SYSCOMMAND, command, 0) != FALSE;
}

bool DialogWindow::PressEscape() const {
  if (!Exists()) return false;
  HWND target = FocusedControlOf(m_window);
  LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC))
                    << kScanCodeShift;
  return ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, kRepeatOnce | scanCode) &&
         ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, kRepeatOnce | scanCode | kKeyUpFlags);
}

bool DialogWindow::CloseBox() const { return SysCommand(SC_CLOSE); }

bool DialogWindow::WaitUntilClosed(DWORD timeoutMs) const {
  return WaitUntil([this] { return !Exists(); }, timeoutMs);
}

PixelImage DialogWindow::Capture() const {
  return Exists() ? CaptureWindow(m_window) : PixelImage();
}

bool DialogWindow::SaveScreenshot(const std::string& pngPath) const {
  return Exists() && SaveWindowPng(m_window, pngPath);
}

}  // namespace uidriver
