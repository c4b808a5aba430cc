#pragma once
// What another process uses: processor time and private memory, read through
// a handle with query rights.
#include <windows.h>

class ProcessGauge {
 public:
  explicit ProcessGauge(HANDLE process) : m_process(process) {}

  // User and kernel time so far, in seconds; negative when unreadable.
  double CpuSeconds() const;
  // Private bytes now, and the system's own peak of them; 0 when unreadable.
  // Wine leaves PrivateUsage at 0 and gives the private (anonymous resident)
  // bytes as the page-file usage, whose peak it does not keep: read often.
  SIZE_T PrivateBytes() const;
  SIZE_T PeakPrivateBytes() const;

 private:
  HANDLE m_process;
};
