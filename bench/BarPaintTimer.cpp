#include "bench/BarPaintTimer.h"

#include <commctrl.h>

#include "bench/Clock.h"

namespace {
constexpr int kProgressId = 1003;
constexpr int kLower = 0;
constexpr int kUpper = 100;
// The dialog's colours.
constexpr COLORREF kStart = RGB(0, 128, 128);
constexpr COLORREF kEnd = RGB(0, 0, 128);
constexpr COLORREF kText = RGB(0, 128, 0);
constexpr int kHostMargin = 20;

void PumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}
}  // namespace

BarPaintTimer::~BarPaintTimer() {
  if (m_host.m_hWnd) ::DestroyWindow(m_host.m_hWnd);
  m_host.m_hWnd = nullptr;
}

bool BarPaintTimer::Create(SIZE clientSize) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  m_host.m_hWnd =
      ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, clientSize.cx + kHostMargin,
                        clientSize.cy + kHostMargin, nullptr, nullptr, nullptr, nullptr);
  if (!m_host.m_hWnd) return false;
  // The dialog's bar has a border (WS_BORDER), as here.
  HWND control = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0,
                                   clientSize.cx, clientSize.cy, m_host.m_hWnd,
                                   reinterpret_cast<HMENU>(kProgressId), nullptr, nullptr);
  if (!control) return false;
  RECT window, client;
  ::GetWindowRect(control, &window);
  ::GetClientRect(control, &client);
  ::SetWindowPos(
      control, nullptr, 0, 0, clientSize.cx + (window.right - window.left) - client.right,
      clientSize.cy + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  if (!m_bar.SubclassDlgItem(kProgressId, &m_host)) return false;
  m_bar.SetRange(kLower, kUpper);
  m_bar.SetShowPercent(TRUE);
  m_bar.SetStartColor(kStart);
  m_bar.SetEndColor(kEnd);
  m_bar.SetTextColor(kText);
  PumpPending();
  return true;
}

Samples BarPaintTimer::Time(int count) {
  Samples samples;
  for (int i = 0; i < count; ++i) {
    m_bar.SetPos(kLower + i % (kUpper - kLower + 1));
    PumpPending();
    const double started = bench::NowSeconds();
    ::RedrawWindow(m_bar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    samples.Add(bench::NowSeconds() - started);
  }
  return samples;
}
