// What the program holds stays flat: after 1000 presence probes and after 52
// images sent in a row, its handle count and private bytes are back within a
// small tolerance of where they were, and no worker thread is left behind.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/faults/CampaignCase.h"
#include "tests/faults/ProcessGauge.h"

namespace {
constexpr int kWarmUpProbes = 100;
constexpr int kProbes = 1000;
constexpr int kRuns = 13;  // 4 images each: 52 images
constexpr DWORD kProbeSendMs = 5000;
constexpr DWORD kRunBoundMs = 20000;
constexpr DWORD kRequestWaitMs = 2000;
constexpr int kClickAttempts = 5;
constexpr DWORD kResourceBoundMs = 120000;
// Tolerances: a leak of one handle per probe or per image, or of 128 bytes
// per probe, would exceed them.
constexpr long kHandleTolerance = 2;
constexpr long long kPrivateBytesTolerance = 128 * 1024;

std::string Figures(const ProcessGauge& before, const ProcessGauge& after) {
  std::ostringstream text;
  text << "handles " << before.handles << " -> " << after.handles << ", private "
       << before.privateBytes / 1024 << " -> " << after.privateBytes / 1024 << " KiB, threads "
       << before.threads << " -> " << after.threads;
  return text.str();
}

void ExpectFlat(const ProcessGauge& before, const ProcessGauge& after) {
  EXPECT_LE(static_cast<long>(after.handles) - static_cast<long>(before.handles), kHandleTolerance)
      << Figures(before, after);
  EXPECT_LE(
      static_cast<long long>(after.privateBytes) - static_cast<long long>(before.privateBytes),
      kPrivateBytesTolerance)
      << Figures(before, after);
  EXPECT_LE(after.threads, before.threads) << Figures(before, after);
}

// One tick of the presence watch, run at once: the dialog handles a sent
// WM_TIMER exactly as one from its timer.
bool Probe(const CampaignCase& run) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(run.session.dialog.Handle(), WM_TIMER, 1, 0, SMTO_BLOCK,
                               kProbeSendMs, &result) != 0;
}

TEST(FaultResources, AThousandPresenceProbesLeaveNothingBehind) {
  CampaignCase run;
  ASSERT_TRUE(run.Start());
  for (int probe = 0; probe < kWarmUpProbes; ++probe) ASSERT_TRUE(Probe(run));
  const ProcessGauge before = ReadProcessGauge(run.session.app.Handle());
  run.StartClock();
  bool answered = true;
  for (int probe = 0; probe < kProbes && answered; ++probe) answered = Probe(run);
  ASSERT_TRUE(answered);
  ASSERT_TRUE(run.Watch([] { return true; }, kResourceBoundMs));
  const ProcessGauge after = ReadProcessGauge(run.session.app.Handle());
  run.SetOutcome("1000 probes: " + Figures(before, after));
  ExpectFlat(before, after);
  EXPECT_EQ(run.session.Text(kStatusLine), run.LangText("1024"));
  run.ExpectBoxes({});
  run.ExpectRunning();
}

// Clicks until the run's identification request arrives: a click that meets
// the end of the former run is ignored, as clicks during a run are.
bool StartRun(CampaignCase& run, size_t before) {
  for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
    run.session.dialog.Click(kUpdateButton);
    if (run.session.device.WaitForTotalBytes(before + 1, kRequestWaitMs)) return true;
  }
  return false;
}

TEST(FaultResources, FiftyTwoImagesInARowLeaveNothingBehind) {
  CampaignCase run;
  for (int stage = 0; stage < kCampaignStages; ++stage) {
    run.AddStageFile(stage, MakeImage(kChunkSize + 100 * stage, 110 + stage));
  }
  const Bytes oneRun = run.layout.Stream();
  ASSERT_TRUE(run.Start());
  // The first run warms up what the program keeps for good.
  ASSERT_TRUE(StartRun(run, 0));
  ASSERT_TRUE(run.Watch([&] { return run.RunOver(oneRun.size()); }, kRunBoundMs));
  const ProcessGauge before = ReadProcessGauge(run.session.app.Handle());
  run.StartClock();
  for (int round = 1; round <= kRuns; ++round) {
    ASSERT_TRUE(StartRun(run, round * oneRun.size())) << "run " << round + 1;
    ASSERT_TRUE(
        run.Watch([&] { return run.RunOver((round + 1) * oneRun.size()); }, kResourceBoundMs))
        << "run " << round + 1;
  }
  const ProcessGauge after = ReadProcessGauge(run.session.app.Handle());
  run.SetOutcome("52 images in 13 runs: " + Figures(before, after));
  ExpectFlat(before, after);
  run.layout.RepeatRuns(kRuns + 1);
  run.ExpectReceivedExactly(run.layout.Size());
  run.ExpectBoxes({});
  run.ExpectRunning();
}

}  // namespace
