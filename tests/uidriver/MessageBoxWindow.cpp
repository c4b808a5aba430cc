#include "tests/uidriver/MessageBoxWindow.h"

#include "tests/uidriver/WindowCapture.h"

namespace uidriver {
namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kStaticClass[] = "Static";
constexpr int kClassNameSize = 64;
constexpr int kLowWordMask = 0xFFFF;

bool HasClass(HWND window, const char* className) {
  char name[kClassNameSize] = "";
  ::GetClassNameA(window, name, kClassNameSize);
  return ::lstrcmpiA(name, className) == 0;
}

bool IsIconStatic(HWND child) {
  return HasClass(child, kStaticClass) &&
         (::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

bool IsTextStatic(HWND child) {
  if (!HasClass(child, kStaticClass)) return false;
  switch (::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
  }
}

bool HasUnnamedId(HWND child) {
  return (::GetWindowLongPtrA(child, GWLP_ID) & kLowWordMask) == kUnnamedStaticId;
}

template <class Match>
HWND FindChild(HWND parent, Match match) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (match(child)) return child;
  }
  return nullptr;
}

}  // namespace

bool MessageBoxWindow::IsMessageBox(HWND window) {
  if (!HasClass(window, kDialogClass)) return false;
  HWND text = FindChild(window, [](HWND c) { return HasUnnamedId(c) && IsTextStatic(c); });
  HWND unnamedIcon = FindChild(window, [](HWND c) { return HasUnnamedId(c) && IsIconStatic(c); });
  return text && !unnamedIcon;
}

HWND MessageBoxWindow::TextControl() const {
  if (!Exists()) return nullptr;
  return FindChild(Handle(), [](HWND c) { return HasUnnamedId(c) && IsTextStatic(c); });
}

HWND MessageBoxWindow::IconControl() const {
  if (!Exists()) return nullptr;
  return FindChild(Handle(), [](HWND c) { return IsIconStatic(c) && ::IsWindowVisible(c); });
}

std::optional<std::string> MessageBoxWindow::Text() const {
  HWND text = TextControl();
  if (!text) return std::nullopt;
  return ReadWindowText(text);
}

BoxIcon MessageBoxWindow::Icon(DWORD settleMs) const {
  BoxIcon icon = BoxIcon::kNone;
  // Its pixels come off the screen: keep other windows off it. Asynchronous,
  // so that a busy owner thread cannot block the test.
  if (Exists()) {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  }
  // The box may not have painted yet, or another window may briefly cover it.
  WaitUntil(
      [&] {
        HWND control = IconControl();
        RECT rect;
        if (!control || !::GetWindowRect(control, &rect)) {
          icon = BoxIcon::kNone;
          return !Exists();
        }
        icon = ClassifyIconPixels(CaptureScreenRect(rect));
        return icon == BoxIcon::kExclamation || icon == BoxIcon::kStop;
      },
      settleMs);
  return icon;
}

}  // namespace uidriver
