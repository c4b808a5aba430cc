#pragma once
// A window's message map: one table per window class, read top to bottom, the
// first matching row wins. Rows are built with OnMessage and OnCommand so the
// table reads like the list of messages the window handles.
#include <windows.h>

#include <cstddef>

template <class T>
struct MessageEntry {
  using Handler = LRESULT (*)(T& self, WPARAM wParam, LPARAM lParam);
  UINT message;
  UINT controlId;   // WM_COMMAND rows only
  UINT notifyCode;  // WM_COMMAND rows only
  Handler handle;
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, typename MessageEntry<T>::Handler handle) {
  return {message, 0, 0, handle};
}

template <class T>
constexpr MessageEntry<T> OnCommand(UINT controlId, UINT notifyCode,
                                    typename MessageEntry<T>::Handler handle) {
  return {WM_COMMAND, controlId, notifyCode, handle};
}

// Runs the first row that matches; false when no row does.
template <class T, size_t N>
bool DispatchMessageMap(const MessageEntry<T> (&map)[N], T& self, UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT& result) {
  for (const MessageEntry<T>& entry : map) {
    if (entry.message != message) continue;
    if (message == WM_COMMAND &&
        (entry.controlId != LOWORD(wParam) || entry.notifyCode != HIWORD(wParam))) {
      continue;
    }
    result = entry.handle(self, wParam, lParam);
    return true;
  }
  return false;
}
