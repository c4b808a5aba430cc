#include "bench/UpdateBench.h"

#include <cstdio>

#include "bench/BarPaintTimer.h"
#include "bench/Clock.h"
#include "bench/ImageFolder.h"
#include "bench/PresenceProbe.h"
#include "bench/ProcessGauge.h"
#include "bench/QuelvoRun.h"
#include "bench/RawPipeWriter.h"
#include "bench/TransferObserver.h"

namespace {
constexpr DWORD kMiB = 1024 * 1024;
constexpr DWORD kRawPayloadBytes = 16 * kMiB;
constexpr DWORD kChunkBytes = 2048;
constexpr DWORD kImageMiB[] = {1, 16, 64};
constexpr DWORD kBigImageBytes = 64 * kMiB;
constexpr DWORD kHeaderBytes = 1024;
constexpr double kThroughputGoal = 0.9;

// The demo folder's four files, as scripts/make-demo-files.sh makes them.
struct DemoFile {
  const char* name;
  DWORD payloadKiB;
};
constexpr DemoFile kDemoFiles[] = {
    {"firmware.qv9", 384},
    {"KALDER_IMG.qv9", 3072},
    {"KALDER_PCM.qv9", 1536},
    {"fdata.qvx", 640},
};
constexpr DWORD kBytesPerKiB = 1024;

constexpr DWORD kIdleSettleMs = 1000;
constexpr DWORD kIdleWindowMs = 10000;
constexpr int kPaints = 200;
constexpr int kProbes = 50;
constexpr double kPercentPerCore = 100;
constexpr double kLatencyP99 = 0.99;
constexpr double kSlackBytes = 8.0 * kMiB;

std::string MiB(double bytes) { return Fixed(bytes / bench::kBytesPerMiB, 1) + " MiB"; }
}  // namespace

UpdateBench::UpdateBench(const BenchOptions& options, ResultTable& table)
    : m_options(options),
      m_table(table),
      m_config([] {
        DeviceEmulatorConfig config;
        config.name = UniqueDeviceName("bench");
        return config;
      }()),
      m_device(m_config) {}

bool UpdateBench::Prepare() {
  if (!m_device.Start()) return false;
  ::SetEnvironmentVariableA(kDeviceNameVariable, m_config.name.c_str());
  m_program.SetEnvironment(kDeviceNameVariable, m_config.name);
  if (!m_program.Ready() || !m_program.AddSampleLangIni() || !m_program.AddDeviceLibrary() ||
      !m_program.AddInstaller()) {
    return false;
  }
  if (!m_options.program.empty() &&
      !::CopyFileA(m_options.program.c_str(), m_program.ProgramPath().c_str(), FALSE)) {
    return false;
  }
  // The device's record of what it received grows to hold the largest image
  // now, so that no timed run pays for its growth.
  if (RawPipeWriter(m_device).SendFromThisProcess(kBigImageBytes + kHeaderBytes) <= 0) return false;
  // The first window after a fresh display is slow to appear; not measured.
  QuelvoRun warmUp(m_program, m_program.ProgramFolder(), m_device);
  return warmUp.Start();
}

bool UpdateBench::RawLimit() {
  RawPipeWriter writer(m_device);
  Samples rates, perWrite, inProcess;
  const double writes = kRawPayloadBytes / kChunkBytes;
  for (int i = 0; i < m_options.repetitions; ++i) {
    const double seconds = writer.SendFromChild(kRawPayloadBytes);
    const double inProcessSeconds = writer.SendFromThisProcess(kRawPayloadBytes);
    if (seconds <= 0 || inProcessSeconds <= 0) return false;
    rates.Add(kRawPayloadBytes / seconds);
    perWrite.Add(seconds / writes);
    inProcess.Add(kRawPayloadBytes / inProcessSeconds);
  }
  m_rawBytesPerSecond = rates.Median();
  m_table.Add("1 raw limit",
              "MiB/s, 2048-byte writes from another process, " + MiB(kRawPayloadBytes), rates,
              1 / bench::kBytesPerMiB, 1);
  m_table.Add("1 raw limit", "µs per write", perWrite, bench::kMicrosecondsPerSecond, 0);
  m_table.Add("1 raw limit", "for reference: MiB/s from a thread of the device's own process",
              inProcess, 1 / bench::kBytesPerMiB, 1);
  std::printf(
      "1 raw limit: %.1f MiB/s (min %.1f, max %.1f), %.0f us per 2048-byte write (%.1f MiB/s "
      "from the device's own process)\n",
      rates.Median() / bench::kBytesPerMiB, rates.Min() / bench::kBytesPerMiB,
      rates.Max() / bench::kBytesPerMiB, perWrite.Median() * bench::kMicrosecondsPerSecond,
      inProcess.Median() / bench::kBytesPerMiB);
  return true;
}

double UpdateBench::PairedRawRate(DWORD payloadBytes) {
  const double seconds = RawPipeWriter(m_device).SendFromChild(payloadBytes);
  return seconds > 0 ? payloadBytes / seconds : m_rawBytesPerSecond;
}

bool UpdateBench::SenderThroughput() {
  std::string summary = "2 sender:";
  Samples untilStart;
  for (DWORD sizeMiB : kImageMiB) {
    ImageFolder folder;
    if (!folder.AddImage("firmware.qv9", sizeMiB * kMiB, sizeMiB)) return false;
    const int repetitions =
        sizeMiB * kMiB >= kBigImageBytes ? m_options.bigRepetitions : m_options.repetitions;
    Samples senderRates, senderRatios, wholeRates, wholeRatios;
    for (int i = 0; i < repetitions; ++i) {
      const double raw = PairedRawRate(sizeMiB * kMiB);
      QuelvoRun run(m_program, folder.Path(), m_device);
      UpdateMoments moments;
      if (!run.Start() || !run.Update(folder.WireBytes(), moments)) return false;
      const double payload = static_cast<double>(folder.PayloadBytes());
      const double sender = payload / (moments.lastByte - moments.firstStart);
      const double whole = payload / (moments.lastByte - moments.click);
      senderRates.Add(sender);
      senderRatios.Add(sender / raw);
      wholeRates.Add(whole);
      wholeRatios.Add(whole / raw);
      untilStart.Add(moments.firstStart - moments.click);
    }
    const std::string image = std::to_string(sizeMiB) + " MiB image";
    const std::string goal = sizeMiB >= 16 ? "≥ " + Fixed(kThroughputGoal, 1) : "";
    m_table.Add("2 sender", image + ": MiB/s", senderRates, 1 / bench::kBytesPerMiB, 1);
    m_table.Add("2 sender", image + ": ratio to the raw limit, measured just before", senderRatios,
                1, 2, goal);
    m_table.Add("2 sender", image + ", from the click: MiB/s", wholeRates, 1 / bench::kBytesPerMiB,
                1);
    m_table.Add("2 sender", image + ", from the click: ratio to the raw limit", wholeRatios, 1, 2,
                goal);
    summary += " " + image + " " + Fixed(senderRates.Median() / bench::kBytesPerMiB, 1) +
               " MiB/s (" + Fixed(senderRatios.Median(), 2) + " of raw; from the click " +
               Fixed(wholeRatios.Median(), 2) + ");";
  }
  m_table.Add("2 sender", "click to the start command (identification, file load), s", untilStart,
              1, 2);
  std::printf("%s click to start command %.2f s\n", summary.c_str(), untilStart.Median());
  return true;
}

bool UpdateBench::WholeUpdate() {
  ImageFolder folder;
  unsigned seed = 1;
  for (const DemoFile& file : kDemoFiles) {
    if (!folder.AddImage(file.name, file.payloadKiB * kBytesPerKiB, seed++)) return false;
  }
  const double wireBytes = static_cast<double>(folder.WireBytes());
  Samples walls, raws, ratios;
  for (int i = 0; i < m_options.repetitions; ++i) {
    const double rawSeconds = wireBytes / PairedRawRate(static_cast<DWORD>(folder.PayloadBytes()));
    raws.Add(rawSeconds);
    QuelvoRun run(m_program, folder.Path(), m_device);
    UpdateMoments moments;
    if (!run.Start() || !run.Update(folder.WireBytes(), moments)) return false;
    const double wall = moments.lastByte - moments.click;
    walls.Add(wall);
    ratios.Add(rawSeconds / wall);
  }
  const std::string bytes = MiB(static_cast<double>(folder.WireBytes()));
  m_table.Add("3 whole update", "demo folder (4 files, " + bytes + "): wall s", walls, 1, 2);
  m_table.Add("3 whole update", "raw time for the same bytes, s", raws, 1, 2);
  m_table.Add("3 whole update", "raw time / wall time", ratios, 1, 2);
  std::printf(
      "3 whole update: demo folder %s in %.2f s (min %.2f, max %.2f), raw %.2f s, "
      "ratio %.2f\n",
      bytes.c_str(), walls.Median(), walls.Min(), walls.Max(), raws.Median(), ratios.Median());
  return true;
}

bool UpdateBench::DuringTransfer() {
  ImageFolder folder;
  if (!folder.AddImage("firmware.qv9", kBigImageBytes, 64)) return false;
  m_imageBytes = kBigImageBytes + kHeaderBytes;
  Samples p50s, p99s, cores, hostCores;
  for (int i = 0; i < m_options.bigRepetitions; ++i) {
    QuelvoRun run(m_program, folder.Path(), m_device);
    if (!run.Start()) return false;
    TransferObserver observer(run.Process(), run.Dialog());
    observer.Start();
    UpdateMoments moments;
    const bool updated = run.Update(folder.WireBytes(), moments);
    observer.Stop();
    if (!updated) return false;
    const Samples latencies = observer.LatenciesBetween(moments.firstStart, moments.lastByte);
    p50s.Add(latencies.Percentile(Samples::kMedian));
    p99s.Add(latencies.Percentile(kLatencyP99));
    cores.Add(observer.CoresBetween(moments.firstStart, moments.lastByte));
    const double host = observer.HostCoresBetween(moments.firstStart, moments.lastByte);
    if (host >= 0) hostCores.Add(host);
    m_peakPrivate.Add(static_cast<double>(observer.PeakPrivateBytes()));
    m_privateGrowth.Add(
        static_cast<double>(observer.PeakPrivateBytes() - observer.FirstPrivateBytes()));
  }
  m_table.Add("4 responsiveness", "answer to a sent message, p50 ms (64 MiB transfer)", p50s,
              bench::kMillisecondsPerSecond, 2);
  m_table.Add("4 responsiveness", "answer to a sent message, p99 ms", p99s,
              bench::kMillisecondsPerSecond, 2, "< 50 ms");
  m_table.Add("4 responsiveness", "program's CPU during the transfer, % of a core", cores,
              kPercentPerCore, 0);
  if (!hostCores.Empty()) {
    m_table.Add("4 responsiveness",
                "whole machine's CPU during the transfer (wineserver, device, bench too), "
                "% of a core",
                hostCores, kPercentPerCore, 0);
  }
  std::printf(
      "4 responsiveness: p50 %.2f ms, p99 %.2f ms (max %.2f) while sending 64 MiB; the "
      "program used %.0f%% of a core, the whole machine %.0f%%\n",
      p50s.Median() * bench::kMillisecondsPerSecond, p99s.Median() * bench::kMillisecondsPerSecond,
      p99s.Max() * bench::kMillisecondsPerSecond, cores.Median() * kPercentPerCore,
      hostCores.Median() * kPercentPerCore);
  return true;
}

bool UpdateBench::IdleDialog() {
  SIZE barSize;
  Samples idle;
  {
    QuelvoRun run(m_program, m_program.ProgramFolder(), m_device);
    if (!run.Start()) return false;
    barSize = run.ProgressBarSize();
    ::Sleep(kIdleSettleMs);
    // One window: the process times advance in 10 ms ticks.
    ProcessGauge gauge(run.Process());
    const double before = gauge.CpuSeconds();
    const double started = bench::NowSeconds();
    ::Sleep(kIdleWindowMs);
    idle.Add((gauge.CpuSeconds() - before) / (bench::NowSeconds() - started));
  }
  BarPaintTimer painter;
  if (!painter.Create(barSize)) return false;
  const Samples paints = painter.Time(kPaints);
  const Samples probes = TimePresenceProbes(kProbes);
  if (probes.Empty()) return false;

  const std::string size = std::to_string(barSize.cx) + "×" + std::to_string(barSize.cy);
  m_table.Add("5 idle and paint", "one bar paint at " + size + ", ms", paints,
              bench::kMillisecondsPerSecond, 3, "< 1 ms");
  m_table.Add("5 idle and paint", "one presence probe, ms", probes, bench::kMillisecondsPerSecond,
              2);
  m_table.Add("5 idle and paint", "idle dialog CPU over 10 s, % of a core", idle, kPercentPerCore,
              2, "< 1 %");
  std::printf(
      "5 idle and paint: bar paint %.3f ms (p50, %s), presence probe %.2f ms (p50), idle "
      "dialog %.2f%% of a core\n",
      paints.Median() * bench::kMillisecondsPerSecond, size.c_str(),
      probes.Median() * bench::kMillisecondsPerSecond, idle.Median() * kPercentPerCore);
  return true;
}

void UpdateBench::PeakMemory() {
  const std::string goal = "≤ " + MiB(m_imageBytes + kSlackBytes);
  m_table.Add("6 memory", "peak private MiB while sending 64 MiB", m_peakPrivate,
              1 / bench::kBytesPerMiB, 1, goal);
  m_table.Add("6 memory", "growth over the idle dialog, MiB", m_privateGrowth,
              1 / bench::kBytesPerMiB, 1);
  std::printf("6 memory: peak private %.1f MiB (growth %.1f MiB) while sending a 64 MiB image\n",
              m_peakPrivate.Median() / bench::kBytesPerMiB,
              m_privateGrowth.Median() / bench::kBytesPerMiB);
}
