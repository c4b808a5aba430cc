// Bad update files in the current folder: too short, the smallest, unmarked,
// not to be sent, a folder in a file's place, a file another program holds, a
// file that cannot be read, a file of 4 GiB and more.
#include <gtest/gtest.h>

#include <functional>

#include "tests/faults/CampaignCase.h"
#include "tests/support/TestFiles.h"

namespace {
using uidriver::BoxIcon;

constexpr DWORD kFileBoundMs = 15000;
constexpr DWORD kQuietMs = 1500;
constexpr ULONGLONG kFourGiB = 0x100000000ull;

Bytes Good(int stage) { return MakeImage(2 * kChunkSize + 100 * (stage + 1), 50 + stage); }

// Opens `path` with no sharing, as another program that holds the file would,
// for as long as the handle lives.
UniqueHandle HoldWithoutSharing(const std::string& path) {
  return UniqueHandle(
      ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// A file that opens but whose every read fails: under Wine, a link to the
// file server's own memory file, whose first page is never mapped. Made with
// the system's ln, which Wine starts like any program.
bool MakeUnreadableFile(const std::string& path) {
  using UnixName = char*(__cdecl*)(const wchar_t*);
  auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return false;
  std::wstring wide(path.begin(), path.end());
  // Wine hands the name over in a block of the process heap.
  UniqueHeapBlock unixPath(toUnix(wide.c_str()));
  if (!unixPath) return false;
  std::string commandLine =
      std::string("ln -s /proc/self/mem ") + static_cast<const char*>(unixPath.get());
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA("Z:\\bin\\ln", mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
    return false;
  }
  // Wine gives no handle on a Unix program to wait on: watch for the link.
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  return uidriver::WaitUntil([&] { return FileExists(path); }, kFileBoundMs);
}

// A sparse file of 4 GiB + `lowSize` bytes that begins with `header`: its
// size's low 32 bits say `lowSize`.
bool MakeHugeFile(const std::string& path, const Bytes& header, DWORD lowSize) {
  if (!WriteBytes(path, header)) return false;
  UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(kFourGiB + lowSize);
  return ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get());
}

struct FileCase {
  const char* name;
  // Writes the files; the ones that must go out whole join the layout.
  std::function<void(CampaignCase&)> setUp;
  // The box that ends the run; nullptr: none, every file in the layout goes.
  const char* boxKey;
  const char* outcome;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class FaultFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(FaultFiles, EndAsPromisedWithWholeImagesOnly) {
  const FileCase& c = GetParam();
  CampaignCase run;
  c.setUp(run);
  UniqueHandle held;
  if (std::string(c.name) == "HeldWithoutSharing_AtStage2") {
    held = HoldWithoutSharing(run.session.folder.InCurrentFolder(kStageFiles[1]));
    ASSERT_TRUE(held);
  }
  if (std::string(c.name) == "CannotBeRead_AtStage1" &&
      !MakeUnreadableFile(run.session.folder.InCurrentFolder(kStageFiles[0]))) {
    GTEST_SKIP() << "an unreadable file is made only under Wine";
  }
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome(c.outcome);
  if (c.boxKey) {
    const std::string text = run.LangText(c.boxKey);
    ASSERT_TRUE(run.Watch([&] { return run.SawBox(text) && !run.BoxOpen(); }, kFileBoundMs));
    run.ExpectBoxes({{text, BoxIcon::kExclamation}});
  } else {
    ASSERT_TRUE(run.Watch([&] { return run.RunOver(run.layout.Size()); }, kFileBoundMs));
    run.WatchQuietFor(kQuietMs);
    run.ExpectBoxes({});
  }
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

void GoodUpTo(CampaignCase& run, int stages) {
  for (int stage = 0; stage < stages; ++stage) run.AddStageFile(stage, Good(stage));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FaultFiles,
    ::testing::Values(
        FileCase{"Empty_AtStage1",
                 [](CampaignCase& run) {
                   run.AddStageFile(0, {}, false);
                   run.AddStageFile(1, Good(1), false);
                 },
                 "1023", "\"1023\"; nothing sent"},
        FileCase{"OneByte_AtStage1",
                 [](CampaignCase& run) {
                   run.AddStageFile(0, {'#'}, false);
                   run.AddStageFile(1, Good(1), false);
                 },
                 "1023", "\"1023\"; nothing sent"},
        FileCase{"Size1027_AtStage3",
                 [](CampaignCase& run) {
                   GoodUpTo(run, 2);
                   run.AddStageFile(2, Truncated(MakeImage(4, 53), 1027), false);
                   run.AddStageFile(3, Good(3), false);
                 },
                 "1023", "images 1-2 whole, then \"1023\"; image 4 not sent"},
        FileCase{"Size1028_AtStage4",
                 [](CampaignCase& run) {
                   GoodUpTo(run, 3);
                   run.AddStageFile(3, MakeImage(4, 54));
                 },
                 nullptr, "all four whole, the last a 4-byte payload; \"1030\""},
        FileCase{"WrongMarker_AtStage2",
                 [](CampaignCase& run) {
                   GoodUpTo(run, 1);
                   run.AddStageFile(1, Marked(Good(1), 'X'), false);
                   run.AddStageFile(2, Good(2), false);
                 },
                 "1022", "image 1 whole, then \"1022\"; the rest not sent"},
        FileCase{"FolderInPlaceOfFirmware",
                 [](CampaignCase& run) {
                   ::CreateDirectoryA(run.session.folder.InCurrentFolder(kStageFiles[0]).c_str(),
                                      nullptr);
                   run.AddStageFile(1, Good(1), false);
                 },
                 "1023", "\"1023\": the name is there but is no readable file; nothing sent"},
        FileCase{"HeldWithoutSharing_AtStage2",
                 [](CampaignCase& run) {
                   GoodUpTo(run, 1);
                   run.AddStageFile(1, Good(1), false);
                   run.AddStageFile(2, Good(2), false);
                 },
                 "1023", "image 1 whole, then \"1023\" for the held file; the rest not sent"},
        FileCase{"CannotBeRead_AtStage1",
                 [](CampaignCase& run) { run.AddStageFile(1, Good(1), false); }, "1023",
                 "\"1023\"; nothing sent"},
        FileCase{"FourGiBPlus1028_AtStage2",
                 [](CampaignCase& run) {
                   GoodUpTo(run, 1);
                   ASSERT_TRUE(MakeHugeFile(run.session.folder.InCurrentFolder(kStageFiles[1]),
                                            MakeImage(4, 55), 1028));
                   run.AddStageFile(2, Good(2), false);
                 },
                 "1023", "image 1 whole, then \"1023\": 4 GiB and more is refused"}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

TEST(FaultFiles, SendFlagOffAtTheLastStageEndsTheRunAndALaterUnplugIsNoFailure) {
  CampaignCase run;
  GoodUpTo(run, 3);
  run.AddStageFile(3, MakeImage(100, 56, 0), false);
  ASSERT_TRUE(run.Start());
  run.ClickUpdate();
  run.SetOutcome(
      "images 1-3 whole, image 4 skipped; the unplug afterwards: status \"1025\", "
      "no box");
  ASSERT_TRUE(run.Watch([&] { return run.RunOver(run.layout.Size()); }, kFileBoundMs));
  run.WatchQuietFor(kQuietMs);
  EXPECT_EQ(run.session.Text(kStageLine), run.LangText("1026"));
  run.session.device.Unplug();
  EXPECT_TRUE(run.session.WaitForText(kStatusLine, run.LangText("1025"), kFileBoundMs));
  run.WatchQuietFor(kQuietMs);
  run.ExpectBoxes({});
  run.ExpectRunning();
  run.ExpectReceivedExactly(run.layout.Size());
}

}  // namespace
