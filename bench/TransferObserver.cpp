#include "bench/TransferObserver.h"

#include "bench/Clock.h"
#include "bench/HostCpu.h"
#include "bench/ProcessGauge.h"

void TransferObserver::Start() {
  m_stop = false;
  m_thread = std::thread(&TransferObserver::Run, this);
}

void TransferObserver::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

void TransferObserver::Run() {
  ProcessGauge gauge(m_process);
  while (!m_stop) {
    const SIZE_T privateBytes = gauge.PrivateBytes();
    if (m_firstPrivate == 0) m_firstPrivate = privateBytes;
    if (privateBytes > m_peakPrivate) m_peakPrivate = privateBytes;
    m_cpu.push_back({bench::NowSeconds(), gauge.CpuSeconds(), HostCpu::BusySeconds()});

    DWORD_PTR result = 0;
    const double sent = bench::NowSeconds();
    const bool answered =
        ::SendMessageTimeoutA(m_dialog, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result) != 0;
    if (answered) {
      m_latencies.push_back({sent, bench::NowSeconds() - sent});
    } else if (::IsWindow(m_dialog)) {
      m_latencies.push_back({sent, kAnswerTimeoutMs / bench::kMillisecondsPerSecond});
    }
    ::Sleep(kSampleEveryMs);
  }
  const SIZE_T peak = gauge.PeakPrivateBytes();
  if (peak > m_peakPrivate) m_peakPrivate = peak;
}

Samples TransferObserver::LatenciesBetween(double from, double to) const {
  Samples samples;
  for (const Latency& latency : m_latencies) {
    if (latency.sent >= from && latency.sent <= to) samples.Add(latency.seconds);
  }
  return samples;
}

double TransferObserver::CoresBetween(double from, double to) const {
  return AverageCores(from, to, &CpuReading::cpuSeconds);
}

double TransferObserver::HostCoresBetween(double from, double to) const {
  return AverageCores(from, to, &CpuReading::hostBusySeconds);
}

double TransferObserver::AverageCores(double from, double to, double CpuReading::*seconds) const {
  const CpuReading* first = nullptr;
  const CpuReading* last = nullptr;
  for (const CpuReading& reading : m_cpu) {
    if (reading.*seconds < 0) continue;
    if (!first && reading.at >= from) first = &reading;
    if (reading.at <= to) last = &reading;
  }
  if (!first || !last || last->at <= first->at) return -1;
  return (last->*seconds - first->*seconds) / (last->at - first->at);
}
