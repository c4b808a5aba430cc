// Device library faults: missing, lacking one export, failing to open one
// pipe at one moment, vanishing during a run.
#include <gtest/gtest.h>

#include "tests/faults/CampaignCase.h"
#include "tests/support/TestFiles.h"

namespace {
using uidriver::BoxIcon;

constexpr DWORD kLibraryBoundMs = 15000;
constexpr DWORD kSeveralProbesMs = 2000;
constexpr DWORD kDeleteRetryMs = 3000;
constexpr char kFailOpenVariable[] = "QUELVO_FAIL_OPEN";

std::string LibraryPath(const CampaignCase& run) {
  return run.session.folder.InProgramFolder(uidriver::kDeviceLibraryName);
}

// Replaces the program's device library with a faulty build of the stand-in.
bool UseVariant(CampaignCase& run, const char* variant) {
  return CopyInto(BinPath(std::string("stand-ins\\") + variant + "\\ZumelUSB.dll"),
                  run.session.folder.ProgramFolder(), uidriver::kDeviceLibraryName);
}

// The program loads and frees the library at every probe; a delete that
// meets it loaded is tried again.
bool DeleteLibrary(const CampaignCase& run) {
  const std::string path = LibraryPath(run);
  return uidriver::WaitUntil([&] { return ::DeleteFileA(path.c_str()) || !FileExists(path); },
                             kDeleteRetryMs, 1);
}

void AddTwoImages(CampaignCase& run) {
  run.AddStageFile(0, MakeImage(3 * kChunkSize + 5, 41));
  run.AddStageFile(1, MakeImage(kChunkSize + 7, 42));
}

TEST(FaultLibrary, MissingShowsItsBoxOneAtATimeAndAnUpdateIsNotReady) {
  CampaignCase run;
  AddTwoImages(run);
  ASSERT_TRUE(::DeleteFileA(LibraryPath(run).c_str()));
  ASSERT_TRUE(run.Start({true, false, ""}));
  ASSERT_TRUE(run.Watch([&] { return run.SawBox(kLibraryUnloaded); }, kLibraryBoundMs));
  run.ClickUpdate();
  run.SetOutcome("\"ZumelUSB.dll unloaded\" at each probe, one at a time; update: \"1021\"");
  ASSERT_TRUE(run.Watch(
      [&] { return run.SawBox(run.LangText("1021")) && !run.BoxOpen(run.LangText("1021")); },
      kLibraryBoundMs));
  run.WatchQuietFor(kSeveralProbesMs);
  run.ExpectBoxes(
      {{kLibraryUnloaded, BoxIcon::kExclamation}, {run.LangText("1021"), BoxIcon::kExclamation}},
      true);
  run.ExpectRunning();
  run.ExpectReceivedExactly(0);
}

TEST(FaultLibrary, WithoutOpenDevShowsTheUnloadedBoxOneAtATime) {
  CampaignCase run;
  AddTwoImages(run);
  ASSERT_TRUE(UseVariant(run, "ZumelUSB-no-open_dev"));
  ASSERT_TRUE(run.Start({true, false, ""}));
  run.SetOutcome("\"ZumelUSB.dll unloaded\" at each probe, one at a time; status stays \"1025\"");
  ASSERT_TRUE(run.Watch([&] { return run.SawBox(kLibraryUnloaded); }, kLibraryBoundMs));
  run.WatchQuietFor(kSeveralProbesMs);
  run.ExpectBoxes({{kLibraryUnloaded, BoxIcon::kExclamation}}, true);
  EXPECT_EQ(run.session.Text(kStatusLine), run.LangText("1025"));
  run.ExpectRunning();
  run.ExpectReceivedExactly(0);
}

TEST(FaultLibrary, WithoutOpenFileAnUpdateSaysTheLibraryIsMissing) {
  CampaignCase run;
  AddTwoImages(run);
  ASSERT_TRUE(UseVariant(run, "ZumelUSB-no-open_file"));
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome("\"1031\"; the run ends before the request; button usable");
  ASSERT_TRUE(run.Watch([&] { return run.SawBox(run.LangText("1031")) && !run.BoxOpen(); },
                        kLibraryBoundMs));
  run.ExpectBoxes({{run.LangText("1031"), BoxIcon::kExclamation}});
  run.ExpectRunning();
  run.ExpectUpdateButtonEnabled(true);
  run.ExpectReceivedExactly(0);
}

struct OpenFailCase {
  const char* name;
  const char* knob;
  const char* outcome;
};

void PrintTo(const OpenFailCase& c, std::ostream* out) { *out << c.name; }

class FaultOpenFile : public ::testing::TestWithParam<OpenFailCase> {};

TEST_P(FaultOpenFile, EndsAsPromisedWithAPrefixOfTheImages) {
  const OpenFailCase& c = GetParam();
  CampaignCase run;
  AddTwoImages(run);
  run.session.folder.SetEnvironment(kFailOpenVariable, c.knob);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome(c.outcome);
  const std::string notReady = run.LangText("1021");
  if (std::string(c.knob) == "PIPE01:1") {
    ASSERT_TRUE(run.Watch([&] { return run.Exited(); }, kLibraryBoundMs));
    run.ExpectBoxes({{kNotOurDevice, BoxIcon::kStop}});
    run.ExpectExitCodeZero();
    run.ExpectReceivedExactly(1);
    return;
  }
  ASSERT_TRUE(run.Watch([&] { return run.SawBox(notReady) && !run.BoxOpen(); }, kLibraryBoundMs));
  run.ExpectBoxes({{notReady, BoxIcon::kExclamation}});
  run.ExpectRunning();
  if (std::string(c.knob) == "PIPE00:1") {
    run.ExpectUpdateButtonEnabled(true);
    run.ExpectReceivedExactly(0);
  } else {
    run.ExpectReceivedExactly(run.layout.StageEnd(0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Knob, FaultOpenFile,
    ::testing::Values(OpenFailCase{"Pipe00_AtIdentification", "PIPE00:1",
                                   "\"1021\"; nothing written; button usable"},
                      OpenFailCase{"Pipe00_OnlyAtTheSecondStage", "PIPE00:3",
                                   "first image whole with \"1030\", then \"1021\"; the run ends"},
                      OpenFailCase{"Pipe01_Only", "PIPE01:1",
                                   "stop box \"This is Not KALDER !\"; exit 0"}),
    [](const ::testing::TestParamInfo<OpenFailCase>& info) {
      return std::string(info.param.name);
    });

TEST(FaultLibrary, VanishingDuringTheFirstImageStopsBeforeTheSecond) {
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.readDelayMs = 5;  // the first image takes a second or so
  CampaignCase run(config);
  run.AddStageFile(0, MakeImage(200 * kChunkSize, 43));
  run.AddStageFile(1, MakeImage(kChunkSize, 44), false);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  ASSERT_TRUE(run.session.device.WaitForTotalBytes(1 + kStartCommandSize, kLibraryBoundMs));
  ASSERT_TRUE(DeleteLibrary(run));
  run.SetOutcome(
      "the image in flight goes out whole; \"ZumelUSB.dll unloaded\" at each probe; "
      "the next stage: \"1031\"");
  const std::string missing = run.LangText("1031");
  ASSERT_TRUE(
      run.Watch([&] { return run.SawBox(missing) && !run.BoxOpen(missing); }, kLibraryBoundMs));
  run.ExpectBoxes({{missing, BoxIcon::kExclamation}}, true);
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

}  // namespace
