// The update run end to end: the real program, its device library stand-in
// and an emulated device that records every byte the program writes.
#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "tests/update/UpdateSession.h"

namespace {
using uidriver::BoxIcon;

const Bytes kRequest = {'!'};

// Every write after the identification request, split per write.
std::vector<size_t> WriteSizesAfterRequest(const DeviceEmulator& device) {
  std::vector<size_t> sizes = device.WriteSizes();
  if (!sizes.empty()) sizes.erase(sizes.begin());
  return sizes;
}

std::vector<size_t> Sizes(std::initializer_list<Bytes> images) {
  std::vector<size_t> all;
  for (const Bytes& image : images) {
    std::vector<size_t> sizes = WireWriteSizes(image);
    all.insert(all.end(), sizes.begin(), sizes.end());
  }
  return all;
}

// Presses OK on the one box that must appear, after checking it.
void ExpectBox(UpdateSession& session, const std::string& text, BoxIcon icon) {
  uidriver::MessageBoxWindow box = session.app.WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box for: " << text;
  EXPECT_EQ(box.Caption(), std::string("Quelvo"));
  EXPECT_EQ(box.Text(), text);
  EXPECT_EQ(box.Icon(), icon);
  box.PressOk();
  EXPECT_TRUE(box.WaitUntilClosed(uidriver::kDefaultTimeoutMs));
}
}  // namespace

TEST(UpdateRun, SendsEveryFileInStageOrderByteForByte) {
  UpdateSession session;
  // A large payload, then sizes around the chunk edges: one byte over a
  // chunk, the smallest payload, exactly one chunk.
  const Bytes firmware = MakeImage(300 * 1024 + 5, 1);
  const Bytes pictures = MakeImage(2049, 2);
  const Bytes sounds = MakeImage(4, 3, 0xFF);
  const Bytes data = MakeImage(2048, 4);
  session.AddFile("fdata.qvx", data);
  session.AddFile("KALDER_PCM.qv9", sounds);
  session.AddFile("KALDER_IMG.qv9", pictures);
  session.AddFile("firmware.qv9", firmware);
  ASSERT_TRUE(session.Start());

  const Bytes expected = Concat(
      {kRequest, OnTheWire(firmware), OnTheWire(pictures), OnTheWire(sounds), OnTheWire(data)});
  ASSERT_TRUE(session.RunUpdateUntil(expected.size()));
  ASSERT_TRUE(session.WaitForText(kResultLine, SampleText("1030")));
  EXPECT_EQ(session.Text(kStageLine), SampleText("1026"));
  EXPECT_EQ(session.device.Bytes(), expected);
  EXPECT_EQ(WriteSizesAfterRequest(session.device), Sizes({firmware, pictures, sounds, data}));
  EXPECT_EQ(session.dialog.IsControlEnabled(kUpdateButton), false);

  // The run is over: losing the device now is no failure of an update.
  session.device.Unplug();
  ASSERT_TRUE(session.WaitForText(kStatusLine, SampleText("1025")));
  EXPECT_FALSE(uidriver::WaitUntil([&] { return bool(session.app.FindMessageBox()); }, 1500));
  EXPECT_TRUE(session.app.IsRunning());
}

struct HeaderCase {
  const char* name;
  Bytes firmware;      // empty: no firmware file
  Bytes pictures;      // empty: no image file
  const char* boxKey;  // nullptr: no message box
  Bytes expected;      // after the identification request
};

class HeaderChecks : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderChecks, SendOnlyWhatPassesItsHeaderCheck) {
  const HeaderCase& c = GetParam();
  UpdateSession session;
  if (!c.firmware.empty()) session.AddFile("firmware.qv9", c.firmware);
  if (!c.pictures.empty()) session.AddFile("KALDER_IMG.qv9", c.pictures);
  ASSERT_TRUE(session.Start());

  const Bytes expected = Concat({kRequest, c.expected});
  ASSERT_TRUE(session.RunUpdateUntil(expected.size()));
  if (c.boxKey) {
    ExpectBox(session, SampleText(c.boxKey), BoxIcon::kExclamation);
  } else {
    ASSERT_TRUE(session.WaitForText(kResultLine, SampleText("1030")));
  }
  // Nothing more arrives after the run has ended.
  EXPECT_FALSE(session.device.WaitForTotalBytes(expected.size() + 1, 500));
  EXPECT_EQ(session.device.Bytes(), expected);
  EXPECT_TRUE(session.app.IsRunning());
}

const Bytes kPictures = MakeImage(3000, 7);

INSTANTIATE_TEST_SUITE_P(
    Files, HeaderChecks,
    testing::Values(
        HeaderCase{"OneByteShort", Truncated(MakeImage(4, 5), 1027), kPictures, "1023", {}},
        HeaderCase{"NoMarker", Marked(MakeImage(100, 5), 'X'), kPictures, "1022", {}},
        HeaderCase{"SmallestImage", MakeImage(4, 5), {}, nullptr, OnTheWire(MakeImage(4, 5))},
        HeaderCase{"SendFlagOff", MakeImage(100, 5, 0), kPictures, nullptr, OnTheWire(kPictures)},
        HeaderCase{"FirmwareMissing", {}, kPictures, nullptr, OnTheWire(kPictures)}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

struct ReplyCase {
  const char* name;
  Bytes reply;
};

class Identification : public testing::TestWithParam<ReplyCase> {};

TEST_P(Identification, AnUnidentifiedDeviceEndsTheProgramBeforeAnyImage) {
  DeviceEmulatorConfig config;
  config.reply = GetParam().reply;
  UpdateSession session(config);
  session.AddFile("firmware.qv9", MakeImage(100, 9));
  ASSERT_TRUE(session.Start());

  ASSERT_TRUE(session.RunUpdateUntil(kRequest.size()));
  ExpectBox(session, kNotOurDevice, BoxIcon::kStop);
  EXPECT_EQ(session.app.WaitForExit(), 0u);
  EXPECT_EQ(session.device.Bytes(), kRequest);
}

INSTANTIATE_TEST_SUITE_P(Replies, Identification,
                         testing::Values(ReplyCase{"NoReply", {}},
                                         ReplyCase{"LowerCaseT", Bytes{'t', 'Q', 'U'}},
                                         ReplyCase{"OtherFirstByte", Bytes(10, 'X')}),
                         [](const testing::TestParamInfo<ReplyCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Identification, AShortReplyBeginningWithTIdentifies) {
  DeviceEmulatorConfig config;
  config.reply = {'T'};
  UpdateSession session(config);
  const Bytes firmware = MakeImage(10, 3);
  session.AddFile("firmware.qv9", firmware);
  ASSERT_TRUE(session.Start());
  const Bytes expected = Concat({kRequest, OnTheWire(firmware)});
  ASSERT_TRUE(session.RunUpdateUntil(expected.size()));
  EXPECT_TRUE(session.WaitForText(kResultLine, SampleText("1030")));
}

TEST(Identification, EachRunAsksTheDeviceAgain) {
  UpdateSession session;
  session.AddFile("firmware.qv9", Truncated(MakeImage(4, 5), 1027));
  ASSERT_TRUE(session.Start());

  // The first run is identified, then ends at the short file without
  // starting a sender, so the button stays usable.
  ASSERT_TRUE(session.RunUpdateUntil(1));
  ExpectBox(session, SampleText("1023"), BoxIcon::kExclamation);

  // The device attached now does not answer: the second run must not pass
  // on the first run's reply.
  session.device.SetReply({});
  ASSERT_TRUE(session.RunUpdateUntil(2));
  ExpectBox(session, kNotOurDevice, BoxIcon::kStop);
  EXPECT_EQ(session.app.WaitForExit(), 0u);
}

TEST(UpdateRun, WithoutADeviceSaysItIsNotReady) {
  DeviceEmulatorConfig config;
  config.present = false;
  UpdateSession session(config);
  session.AddFile("firmware.qv9", MakeImage(100, 1));
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.WaitForText(kStatusLine, SampleText("1025")));

  session.dialog.Click(kUpdateButton);
  ExpectBox(session, SampleText("1021"), BoxIcon::kExclamation);
  EXPECT_EQ(session.device.TotalBytes(), 0u);
  EXPECT_EQ(session.dialog.IsControlEnabled(kUpdateButton), true);
}

TEST(UpdateRun, ClicksDuringARunDoNotStartAnother) {
  DeviceEmulatorConfig config;
  config.readDelayMs = 2;
  UpdateSession session(config);
  const Bytes firmware = MakeImage(40 * 2048, 11);
  session.AddFile("firmware.qv9", firmware);
  ASSERT_TRUE(session.Start());

  // These reach the handler from the run's own message pump, before and
  // after the sender has disabled the button.
  session.dialog.Click(kUpdateButton);
  session.dialog.Click(kUpdateButton);
  session.dialog.Click(kUpdateButton);
  const Bytes expected = Concat({kRequest, OnTheWire(firmware)});
  ASSERT_TRUE(session.device.WaitForTotalBytes(expected.size(), kRunTimeoutMs));
  ASSERT_TRUE(session.WaitForText(kResultLine, SampleText("1030")));
  EXPECT_FALSE(session.device.WaitForTotalBytes(expected.size() + 1, 1000));
  EXPECT_EQ(session.device.Bytes(), expected);
}

TEST(UpdateRun, ClosingDuringATransferFinishesTheImageFirst) {
  DeviceEmulatorConfig config;
  config.readDelayMs = 2;
  UpdateSession session(config);
  const Bytes firmware = MakeImage(60 * 2048, 12);
  session.AddFile("firmware.qv9", firmware);
  session.AddFile("KALDER_IMG.qv9", MakeImage(2048, 13));
  ASSERT_TRUE(session.Start());

  session.dialog.Click(kUpdateButton);
  ASSERT_TRUE(session.device.WaitForTotalBytes(kRequest.size() + kStartCommandSize + kChunkSize,
                                               kRunTimeoutMs));
  session.dialog.Click(IDCANCEL);
  EXPECT_EQ(session.app.WaitForExit(kRunTimeoutMs), 0u);
  // The image in flight went out whole; the next stage never began.
  EXPECT_EQ(session.device.Bytes(), Concat({kRequest, OnTheWire(firmware)}));
}

TEST(UpdateRun, WithNoUpdateFileEveryStageIsSkippedSilently) {
  UpdateSession session;
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.RunUpdateUntil(kRequest.size()));
  EXPECT_FALSE(uidriver::WaitUntil([&] { return bool(session.app.FindMessageBox()); }, 1500));
  EXPECT_EQ(session.Text(kStageLine), std::string());
  EXPECT_EQ(session.Text(kResultLine), std::string());
  EXPECT_EQ(session.dialog.IsControlEnabled(kUpdateButton), true);

  // The run went through every stage and is over: losing the device now is
  // no failed update.
  session.device.Unplug();
  ASSERT_TRUE(session.WaitForText(kStatusLine, SampleText("1025")));
  EXPECT_FALSE(uidriver::WaitUntil([&] { return bool(session.app.FindMessageBox()); }, 1500));
  EXPECT_TRUE(session.app.IsRunning());
}

TEST(UpdateRun, ALibraryWithoutPipesSaysItIsMissing) {
  UpdateSession session;
  // This library finds the device but cannot open its pipes.
  ASSERT_TRUE(CopyInto(BinPath("stand-ins\\ZumelUSB-no-open_file\\ZumelUSB.dll"),
                       session.folder.ProgramFolder(), "ZumelUSB.dll"));
  session.AddFile("firmware.qv9", MakeImage(100, 1));
  ASSERT_TRUE(session.Start());

  session.dialog.Click(kUpdateButton);
  ExpectBox(session, SampleText("1031"), BoxIcon::kExclamation);
  EXPECT_EQ(session.device.TotalBytes(), 0u);
  EXPECT_TRUE(session.app.IsRunning());
}

TEST(UpdateRun, AFileOf4GiBOrMoreIsRefusedNotSentByItsLowBits) {
  UpdateSession session;
  // Sparse: 4 GiB and 2000 bytes, of which only the header is written.
  const std::string path = session.folder.InCurrentFolder("firmware.qv9");
  ASSERT_TRUE(WriteBytes(path, MakeImage(4, 41)));
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (1LL << 32) + 2000;
  ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  ASSERT_TRUE(::SetEndOfFile(file));
  ::CloseHandle(file);
  ASSERT_TRUE(session.Start());

  ASSERT_TRUE(session.RunUpdateUntil(kRequest.size()));
  ExpectBox(session, SampleText("1023"), BoxIcon::kExclamation);
  EXPECT_EQ(session.Text(kStageLine), SampleText("1027"));
  EXPECT_EQ(session.device.Bytes(), kRequest);
}
