#pragma once
// Watches the program from another thread while it updates: every few
// milliseconds it sends the dialog a message and times the answer, and reads
// the process's private memory. Runs from Start until Stop.
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "bench/Samples.h"

class TransferObserver {
 public:
  TransferObserver(HANDLE process, HWND dialog) : m_process(process), m_dialog(dialog) {}
  ~TransferObserver() { Stop(); }

  void Start();
  void Stop();

  // Answer times in seconds of the messages sent between `from` and `to`
  // (bench::NowSeconds); a message that got no answer counts as the timeout.
  Samples LatenciesBetween(double from, double to) const;
  SIZE_T PeakPrivateBytes() const { return m_peakPrivate; }
  // Private bytes at the first sample, taken right after Start.
  SIZE_T FirstPrivateBytes() const { return m_firstPrivate; }
  // Cores the process kept busy on average between the first sample at or
  // after `from` and the last at or before `to`; negative when unknown.
  double CoresBetween(double from, double to) const;
  // The same for the whole machine (see HostCpu).
  double HostCoresBetween(double from, double to) const;

  static constexpr DWORD kSampleEveryMs = 5;
  static constexpr UINT kAnswerTimeoutMs = 5000;

 private:
  struct Latency {
    double sent;
    double seconds;
  };
  struct CpuReading {
    double at;
    double cpuSeconds;
    double hostBusySeconds;
  };
  void Run();
  double AverageCores(double from, double to, double CpuReading::*seconds) const;

  HANDLE m_process;
  HWND m_dialog;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
  std::vector<Latency> m_latencies;
  std::vector<CpuReading> m_cpu;
  SIZE_T m_peakPrivate = 0;
  SIZE_T m_firstPrivate = 0;
};
