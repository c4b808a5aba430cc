// Bad surroundings: a text table that is absent, too long, garbage or huge; a
// current folder of 240 characters and more; the driver installer missing.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "tests/faults/CampaignCase.h"
#include "tests/faults/LongFolder.h"
#include "tests/support/TestFiles.h"

namespace {
using uidriver::BoxIcon;

constexpr DWORD kSurroundingsBoundMs = 20000;
constexpr DWORD kQuietMs = 3000;
constexpr size_t kLongValue = 300;
constexpr size_t kGarbageBytes = 64 * 1024;
constexpr size_t kHugeTableBytes = 6 * 1024 * 1024;
constexpr unsigned kGarbageSeed = 7;
constexpr size_t kTextSize = 260;

std::string SampleTable() {
  const Bytes sample = ReadBytes(BinPath(uidriver::kLangIniName));
  return std::string(sample.begin(), sample.end());
}

// Every value of the sample table stretched to 300 characters.
std::string LongValues() {
  std::istringstream lines(SampleTable());
  std::string table;
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos && line[0] != ';') {
      // Words, so that a message box can wrap the text and stay on the screen.
      while (line.size() < equals + 1 + kLongValue) line += " long text";
      line.resize(equals + 1 + kLongValue);
    }
    table += line + "\n";
  }
  return table;
}

// Seeded bytes of every value, the sample after them.
std::string Garbage() {
  std::mt19937 random(kGarbageSeed);
  std::string table(kGarbageBytes, '\0');
  for (char& c : table) c = static_cast<char>(random() & 0xFF);
  table[0] = 'x';  // no byte-order mark: the garbage is read as bytes
  table[1] = 'x';
  return table + "\n" + SampleTable();
}

// Several MiB of entries before the sample's.
std::string Huge() {
  std::string table = "[filler]\n";
  char line[96];
  for (unsigned index = 0; table.size() < kHugeTableBytes; ++index) {
    std::snprintf(line, sizeof line, "f%07u=%s\n", index,
                  "filler text that the program never asks for, line after line");
    table += line;
  }
  return table + SampleTable();
}

struct TableCase {
  const char* name;
  // The text table's contents; nullptr: no lang.ini.
  std::function<std::string()> table;
  const char* outcome;
};

void PrintTo(const TableCase& c, std::ostream* out) { *out << c.name; }

class FaultLangIni : public ::testing::TestWithParam<TableCase> {};

TEST_P(FaultLangIni, TheRunWorksWithWhateverTextsTheTableGives) {
  const TableCase& c = GetParam();
  CampaignCase run;
  const std::string langPath = run.session.folder.InProgramFolder(uidriver::kLangIniName);
  if (c.table) {
    ASSERT_TRUE(WriteText(langPath, c.table()));
  } else {
    ASSERT_TRUE(::DeleteFileA(langPath.c_str()));
  }
  run.AddStageFile(0, MakeImage(2 * kChunkSize + 17, 81));
  Bytes unmarked = MakeImage(kChunkSize, 82);
  unmarked[0] = 'X';
  run.AddStageFile(1, unmarked, false);
  ASSERT_TRUE(run.Start());
  char title[kTextSize] = "";
  ::GetPrivateProfileStringA("title", "100", "", title, kTextSize, langPath.c_str());
  EXPECT_EQ(run.session.dialog.Caption(), std::string(title));

  run.ClickUpdate();
  run.SetOutcome(c.outcome);
  const std::string notMarked = run.LangText("1022");
  ASSERT_TRUE(
      run.Watch([&] { return run.SawBox(notMarked) && !run.BoxOpen(); }, kSurroundingsBoundMs));
  run.ExpectBoxes({{notMarked, BoxIcon::kExclamation}});
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FaultLangIni,
    ::testing::Values(
        TableCase{"Absent", nullptr,
                  "empty texts; image 1 whole, then a \"1022\" box with an empty text"},
        TableCase{"Values300", LongValues,
                  "texts cut to 259 characters; image 1 whole, then \"1022\" cut"},
        TableCase{"BinaryGarbage", Garbage, "texts as the table reads; image 1 whole, \"1022\""},
        TableCase{"SixMiB", Huge, "the sample's texts; image 1 whole, \"1022\""}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

class FaultLongFolder : public ::testing::TestWithParam<size_t> {};

TEST_P(FaultLongFolder, SendsEveryFileOfTheCurrentFolder) {
  CampaignCase run;
  LongFolder folder(run.session.folder.CurrentFolderPath(), GetParam());
  ASSERT_EQ(folder.path().size(), GetParam());
  for (int stage = 0; stage < kCampaignStages; ++stage) {
    const Bytes image = MakeImage(kChunkSize + 10 * stage, 90 + stage);
    ASSERT_TRUE(folder.Write(kStageFiles[stage], image));
    run.layout.AddImage(stage, image);
  }
  ASSERT_TRUE(run.Start({true, true, folder.path()}));
  run.ClickUpdate();
  run.SetOutcome("all four whole, \"1030\"; no box");
  ASSERT_TRUE(run.Watch([&] { return run.RunOver(run.layout.Size()); }, kSurroundingsBoundMs));
  run.WatchQuietFor(kQuietMs / 2);
  run.ExpectBoxes({});
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

INSTANTIATE_TEST_SUITE_P(Lengths, FaultLongFolder, ::testing::Values(240, 246, 252, 258),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::to_string(info.param) + "Characters";
                         });

TEST(FaultSurroundings, AMissingInstallerShowsNothing) {
  DeviceEmulatorConfig config = CampaignCase::RealDevice();
  config.present = false;
  CampaignCase run(config);
  ASSERT_TRUE(::DeleteFileA(run.session.folder.InCurrentFolder(uidriver::kInstallerName).c_str()));
  ASSERT_TRUE(run.Start({true, false, ""}));
  run.SetOutcome("status \"1025\", nothing shown; the device attached later: \"1024\"");
  run.WatchQuietFor(kQuietMs);
  EXPECT_EQ(run.session.Text(kStatusLine), run.LangText("1025"));
  run.session.device.Attach();
  ASSERT_TRUE(run.Watch([&] { return run.session.Text(kStatusLine) == run.LangText("1024"); },
                        kQuietMs + kSurroundingsBoundMs));
  run.ExpectBoxes({});
  run.ExpectRunning();
}

}  // namespace
