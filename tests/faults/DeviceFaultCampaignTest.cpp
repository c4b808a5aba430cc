// Device faults across the four stages: unplugged at seeded byte offsets,
// stalled for good, slow to read, silent or wrong in its reply, gone and back
// during the identification wait.
#include <gtest/gtest.h>

#include <random>

#include "tests/faults/CampaignCase.h"

namespace {
using uidriver::BoxIcon;

constexpr DWORD kUnplugBoundMs = 15000;
// Ten seconds per transfer that does not complete, and the images before it.
constexpr DWORD kStallBoundMs = 20000;
constexpr DWORD kSlowBoundMs = 30000;
constexpr DWORD kReplyBoundMs = 15000;
constexpr size_t kStartCommand = kStartCommandSize;

// The device campaign's four images; each has a first chunk, a middle of
// whole chunks and a last chunk of its own size.
constexpr size_t kPayloads[kCampaignStages] = {3 * kChunkSize + 700, 4 * kChunkSize + 300,
                                               4 * kChunkSize, 5 * kChunkSize + 999};

Bytes CampaignImage(int stage) { return MakeImage(kPayloads[stage], 100 + stage); }

WireLayout CampaignLayout() {
  WireLayout layout;
  for (int stage = 0; stage < kCampaignStages; ++stage)
    layout.AddImage(stage, CampaignImage(stage));
  return layout;
}

void AddCampaignImages(CampaignCase& run) {
  for (int stage = 0; stage < kCampaignStages; ++stage)
    run.AddStageFile(stage, CampaignImage(stage));
}

size_t LastChunkSize(int stage) {
  const size_t rest = kPayloads[stage] % kChunkSize;
  return rest ? rest : kChunkSize;
}

const BoxRule kWatchStopBox{kDownloadFailed, BoxIcon::kStop};
const BoxRule kRunStopBox{kDownloadFailed, BoxIcon::kStop};
const BoxRule kNotOurDeviceBox{kNotOurDevice, BoxIcon::kStop};

// ---- Unplugged at 30 seeded offsets ------------------------------------

enum class Region { kStartCommand, kFirstChunk, kMiddle, kLastChunk };
constexpr int kRegions = 4;
const char* const kRegionNames[kRegions] = {"StartCommand", "FirstChunk", "Middle", "LastChunk"};
constexpr unsigned kUnplugSeed = 20240611;
constexpr int kUnplugCases = 30;

struct UnplugCase {
  int index;
  int stage;
  Region region;
  size_t offset;  // in the stage's own bytes on the wire
};

// [begin, end) of a region in the stage's bytes on the wire.
std::pair<size_t, size_t> RegionRange(int stage, Region region) {
  const size_t wire = kStartCommand + kPayloads[stage];
  switch (region) {
    case Region::kStartCommand:
      return {0, kStartCommand};
    case Region::kFirstChunk:
      return {kStartCommand, kStartCommand + kChunkSize};
    case Region::kMiddle:
      return {kStartCommand + kChunkSize, wire - LastChunkSize(stage)};
    case Region::kLastChunk:
      return {wire - LastChunkSize(stage), wire};
  }
  return {0, 0};
}

// Every stage and region in turn, at an offset drawn from a fixed seed; the
// generator's output is fixed by the language, so the cases never change.
std::vector<UnplugCase> UnplugCases() {
  std::mt19937 random(kUnplugSeed);
  std::vector<UnplugCase> cases;
  for (int index = 0; index < kUnplugCases; ++index) {
    const int cell = index % (kCampaignStages * kRegions);
    const int stage = cell / kRegions;
    const Region region = static_cast<Region>(cell % kRegions);
    const std::pair<size_t, size_t> range = RegionRange(stage, region);
    cases.push_back({index, stage, region, range.first + random() % (range.second - range.first)});
  }
  return cases;
}

std::string UnplugName(const UnplugCase& c) {
  const std::string index = std::to_string(100 + c.index).substr(1);
  return index + "_S" + std::to_string(c.stage + 1) + "_" +
         kRegionNames[static_cast<int>(c.region)] + "_at_" + std::to_string(c.offset);
}

void PrintTo(const UnplugCase& c, std::ostream* out) { *out << UnplugName(c); }

class FaultUnplug : public ::testing::TestWithParam<UnplugCase> {};

TEST_P(FaultUnplug, EndsThroughThePresenceWatchWithAPrefixOfTheImages) {
  const UnplugCase& c = GetParam();
  const WireLayout wire = CampaignLayout();
  const size_t at = wire.StageBegin(c.stage) + c.offset;
  // The device reads whole writes: it goes once the write holding `at` is in.
  const size_t arrived = wire.EndOfWriteHolding(at);
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.unplugAfterBytes = at + 1;
  CampaignCase run(config);
  AddCampaignImages(run);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();

  if (arrived == wire.Size()) {
    // The last byte of the last image: the update is whole and over.
    run.SetOutcome("all images whole, \"1030\"; the device then gone: status \"1025\", no box");
    ASSERT_TRUE(run.Watch([&] { return run.Received(arrived) && run.ResultShows("1030"); },
                          kUnplugBoundMs));
    EXPECT_TRUE(run.session.WaitForText(kStatusLine, run.LangText("1025"), kUnplugBoundMs));
    run.WatchQuietFor(1500);
    run.ExpectBoxes({});
    run.ExpectRunning();
    run.ExpectReceivedExactly(arrived);
    return;
  }
  ASSERT_TRUE(run.Watch([&] { return run.Exited(); }, kUnplugBoundMs));
  if (arrived == wire.StageEnd(c.stage)) {
    // Between two images: the next stage may meet the device gone first.
    run.SetOutcome("\"1021\" if the next stage came first, then the watch's stop box; exit 0");
    run.ExpectBoxes({{run.LangText("1021"), BoxIcon::kExclamation, true}, kWatchStopBox});
  } else {
    run.SetOutcome("the watch's stop box \"USB Download Fail !!! Try Again !\"; exit 0");
    run.ExpectBoxes({kWatchStopBox});
  }
  run.ExpectExitCodeZero();
  run.ExpectReceivedExactly(arrived);
}

INSTANTIATE_TEST_SUITE_P(Seeded, FaultUnplug, ::testing::ValuesIn(UnplugCases()),
                         [](const ::testing::TestParamInfo<UnplugCase>& info) {
                           return UnplugName(info.param);
                         });

// ---- Stalled for good --------------------------------------------------

struct StallCase {
  const char* name;
  int stage;
  Region region;
};

void PrintTo(const StallCase& c, std::ostream* out) { *out << c.name; }

class FaultStall : public ::testing::TestWithParam<StallCase> {};

TEST_P(FaultStall, FailsTheStageWithinTheRetryBoundAndSendsNothingTwice) {
  const StallCase& c = GetParam();
  const WireLayout wire = CampaignLayout();
  // The device takes every write before the region and none from it on.
  const size_t taken = wire.StageBegin(c.stage) + RegionRange(c.stage, c.region).first;
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.stallAfterBytes = taken;
  CampaignCase run(config);
  AddCampaignImages(run);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome(
      "the run's stop box \"USB Download Fail !!! Try Again !\"; keeps running; "
      "no \"1030\" for the stalled image");
  ASSERT_TRUE(
      run.Watch([&] { return run.SawBox(kDownloadFailed) && !run.BoxOpen(); }, kStallBoundMs));
  run.ExpectBoxes({kRunStopBox});
  run.ExpectRunning();
  EXPECT_NE(run.session.Text(kResultLine), run.LangText("1030"));
  EXPECT_EQ(run.session.Text(kStatusLine), run.LangText("1024"));
  // A write given up must not reach the device once it reads again.
  run.session.device.Resume();
  run.WatchQuietFor(1000);
  run.ExpectReceivedExactly(taken);
}

INSTANTIATE_TEST_SUITE_P(Points, FaultStall,
                         ::testing::Values(StallCase{"S1_StartCommand", 0, Region::kStartCommand},
                                           StallCase{"S3_FirstChunk", 2, Region::kFirstChunk},
                                           StallCase{"S4_LastChunk", 3, Region::kLastChunk}),
                         [](const ::testing::TestParamInfo<StallCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- Slow to read ------------------------------------------------------

// How long one poll of a bounded wait takes here: Sleep(1) as this machine
// does it.
double PollPeriodMs() {
  constexpr int kSamples = 200;
  LARGE_INTEGER frequency, begin, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&begin);
  for (int sample = 0; sample < kSamples; ++sample) ::Sleep(1);
  ::QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
         static_cast<double>(frequency.QuadPart) / kSamples;
}

struct SlowCase {
  const char* name;
  // The device's delay before each read, in polls of a bounded wait. Start
  // commands wait 1000 polls twice, chunks 2000 twice.
  unsigned delayPolls;
  const char* outcome;
};

void PrintTo(const SlowCase& c, std::ostream* out) { *out << c.name; }

class FaultSlow : public ::testing::TestWithParam<SlowCase> {};

TEST_P(FaultSlow, EveryWriteArrivesOnceAndTheImageIsWhole) {
  const SlowCase& c = GetParam();
  const DWORD delayMs = static_cast<DWORD>(c.delayPolls * PollPeriodMs());
  CampaignCase run;
  const Bytes image = MakeImage(300, 61);
  run.AddStageFile(0, image);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  // Slow only after the identification, which must answer within its wait.
  ASSERT_TRUE(run.session.device.WaitForRepliesTaken(1, kReplyBoundMs));
  run.session.device.SetReadDelay(delayMs);
  run.SetOutcome(std::string(c.outcome) + " (read delay " + std::to_string(delayMs) +
                 " ms); image whole, \"1030\"");
  ASSERT_TRUE(run.Watch([&] { return run.Received(run.layout.Size()) && run.ResultShows("1030"); },
                        kSlowBoundMs));
  run.ExpectBoxes({});
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
  EXPECT_EQ(run.session.device.WriteSizes(), (std::vector<size_t>{1, kStartCommand, 300}));
}

INSTANTIATE_TEST_SUITE_P(
    Delays, FaultSlow,
    ::testing::Values(SlowCase{"StartCommandInSecondWait", 1500,
                               "start command done in its second wait, chunk in its first"},
                      SlowCase{"ChunkInSecondWait", 3000,
                               "chunk done in its second wait, start command after the re-issue"},
                      SlowCase{"ChunkAfterReissue", 5000,
                               "start command and chunk done only after the re-issue"}),
    [](const ::testing::TestParamInfo<SlowCase>& info) { return std::string(info.param.name); });

// ---- Replies -----------------------------------------------------------

struct ReplyCase {
  const char* name;
  Bytes reply;
  bool stalled;  // the device never reads the request
};

void PrintTo(const ReplyCase& c, std::ostream* out) { *out << c.name; }

class FaultReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(FaultReply, AnUnidentifiedDeviceGetsNothingAndTheProgramEnds) {
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.reply = GetParam().reply;
  config.stalled = GetParam().stalled;
  CampaignCase run(config);
  AddCampaignImages(run);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome("stop box \"This is Not KALDER !\"; exit 0; no image");
  ASSERT_TRUE(run.Watch([&] { return run.Exited(); }, kReplyBoundMs));
  run.ExpectBoxes({kNotOurDeviceBox});
  run.ExpectExitCodeZero();
  run.ExpectReceivedExactly(GetParam().stalled ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FaultReply,
    ::testing::Values(ReplyCase{"Missing_RequestNeverRead", {}, true},
                      ReplyCase{"Short_OneOtherByte", {'X'}, false},
                      ReplyCase{"OtherFirstByte_ZeroThenT", {0, 'T', 'Q', 'U'}, false}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

// ---- Gone during the identification wait, and back ---------------------

TEST(FaultIdentification, GoneWithTheRequestAndBackIsNotIdentified) {
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.unplugAfterBytes = 1;  // the request arrives, the reply never leaves
  CampaignCase run(config);
  AddCampaignImages(run);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  ASSERT_TRUE(uidriver::WaitUntil([&] { return !run.session.device.IsPresent(); }));
  run.session.device.Attach();
  run.SetOutcome("stop box \"This is Not KALDER !\"; exit 0; no image");
  ASSERT_TRUE(run.Watch([&] { return run.Exited(); }, kReplyBoundMs));
  run.ExpectBoxes({kNotOurDeviceBox});
  run.ExpectExitCodeZero();
  run.ExpectReceivedExactly(1);
}

TEST(FaultIdentification, GoneAfterTheReplyAndBackSendsEveryImage) {
  CampaignCase run;
  AddCampaignImages(run);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  ASSERT_TRUE(run.session.device.WaitForRepliesTaken(1, kReplyBoundMs));
  run.session.device.Unplug();
  run.session.device.Attach();
  run.SetOutcome("identified; all images whole, \"1030\"; no box");
  ASSERT_TRUE(run.Watch([&] { return run.Received(run.layout.Size()) && run.ResultShows("1030"); },
                        kUnplugBoundMs));
  run.ExpectBoxes({});
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

}  // namespace
