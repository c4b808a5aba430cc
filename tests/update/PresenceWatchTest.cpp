// The presence watch end to end: the status line follows the emulated
// device, the driver installer starts at most once, and a device lost during
// an update ends the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/TestFiles.h"
#include "tests/update/UpdateSession.h"

namespace {
constexpr char kInstallerLog[] = "Prossel.log";
// Several probe periods: long enough for the installer to have been started
// again if the watch did that wrongly.
constexpr DWORD kSeveralTicksMs = 3000;

size_t InstallerStarts(const UpdateSession& session) {
  Bytes log = ReadBytes(session.folder.InCurrentFolder(kInstallerLog));
  size_t lines = 0;
  for (unsigned char c : log) lines += c == '\n';
  return lines;
}
}  // namespace

TEST(PresenceWatch, ADevicePresentAtStartIsShownAndNoInstallerStarts) {
  UpdateSession session;
  ASSERT_TRUE(session.Start());
  EXPECT_EQ(session.Text(kStatusLine), SampleText("1024"));
  ::Sleep(kSeveralTicksMs);
  EXPECT_EQ(session.Text(kStatusLine), SampleText("1024"));
  EXPECT_EQ(InstallerStarts(session), 0u);
  EXPECT_FALSE(session.app.FindMessageBox());
}

TEST(PresenceWatch, NoDeviceStartsTheInstallerOnceAndALaterDeviceIsShown) {
  DeviceEmulatorConfig config;
  config.present = false;
  UpdateSession session(config);
  ASSERT_TRUE(session.device.Start());
  ASSERT_TRUE(session.Start(false));
  ASSERT_TRUE(session.WaitForText(kStatusLine, SampleText("1025")));
  ASSERT_TRUE(uidriver::WaitUntil([&] { return InstallerStarts(session) == 1; }));
  ::Sleep(kSeveralTicksMs);
  EXPECT_EQ(InstallerStarts(session), 1u);

  // The installer starts from the program's current folder.
  const std::string log(reinterpret_cast<const char*>(
      ReadBytes(session.folder.InCurrentFolder(kInstallerLog)).data()));
  EXPECT_NE(log.find(session.folder.CurrentFolderPath()), std::string::npos) << log;

  session.device.Attach();
  EXPECT_TRUE(session.WaitForText(kStatusLine, SampleText("1024")));
  session.device.Unplug();
  EXPECT_TRUE(session.WaitForText(kStatusLine, SampleText("1025")));
  ::Sleep(kSeveralTicksMs);
  EXPECT_EQ(InstallerStarts(session), 1u);
}

TEST(PresenceWatch, ADeviceLostDuringAnUpdateEndsTheProgram) {
  DeviceEmulatorConfig config;
  config.readDelayMs = 5;
  UpdateSession session(config);
  const Bytes firmware = MakeImage(400 * 2048, 21);
  session.AddFile("firmware.qv9", firmware);
  ASSERT_TRUE(session.Start());

  ASSERT_TRUE(session.RunUpdateUntil(1 + kStartCommandSize + kChunkSize));
  session.device.Unplug();
  uidriver::MessageBoxWindow box = session.app.WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box.Text(), std::string(kDownloadFailed));
  EXPECT_EQ(box.Icon(), uidriver::BoxIcon::kStop);
  EXPECT_EQ(session.Text(kStatusLine), SampleText("1025"));
  box.PressOk();
  EXPECT_EQ(session.app.WaitForExit(), 0u);

  // What arrived is the start of what was sent, nothing doubled.
  const Bytes got = session.device.Bytes();
  const Bytes sent = Concat({{'!'}, OnTheWire(firmware)});
  ASSERT_LE(got.size(), sent.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), sent.begin()));
}
