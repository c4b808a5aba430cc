#pragma once
// Bounded waiting for something another process does: ask again every few
// milliseconds until it holds or the time is up.
#include <windows.h>

namespace uidriver {

constexpr DWORD kPollIntervalMs = 20;
// The first window after a fresh X display can take 15 s to appear.
constexpr DWORD kFirstWindowTimeoutMs = 30000;
constexpr DWORD kDefaultTimeoutMs = 10000;

// True as soon as condition() is true; false if it is still false after
// timeoutMs.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs,
               DWORD intervalMs = kPollIntervalMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(intervalMs);
  }
}

}  // namespace uidriver
