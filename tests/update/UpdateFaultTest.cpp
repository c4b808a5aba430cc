// A device that stops taking data must not leave the run waiting for good,
// nor see anything written twice, nor be told its image was sent.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/update/UpdateSession.h"

TEST(UpdateFaults, AStalledDeviceFailsTheStageWithoutClaimingItWasSent) {
  // Larger than the pipe's buffer, so writes pend once the device stops reading.
  const Bytes firmware = MakeImage(200 * 2048, 31);
  const Bytes pictures = MakeImage(2048, 32);
  DeviceEmulatorConfig config;
  // Stalls in the middle of the payload.
  config.stallAfterBytes = 1 + kStartCommandSize + 5 * kChunkSize;
  UpdateSession session(config);
  session.AddFile("firmware.qv9", firmware);
  session.AddFile("KALDER_IMG.qv9", pictures);
  ASSERT_TRUE(session.Start());

  session.dialog.Click(kUpdateButton);
  uidriver::MessageBoxWindow box = session.app.WaitForMessageBox(kRunTimeoutMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.Text(), std::string(kDownloadFailed));
  EXPECT_EQ(box.Icon(), uidriver::BoxIcon::kStop);
  EXPECT_NE(session.Text(kResultLine), SampleText("1030"));
  box.PressOk();
  EXPECT_TRUE(box.WaitUntilClosed(uidriver::kDefaultTimeoutMs));

  // What arrived is a prefix of the image, nothing doubled, and the next
  // stage never started.
  session.device.Resume();
  ::Sleep(1000);
  const Bytes got = session.device.Bytes();
  const Bytes full = Concat({{'!'}, OnTheWire(firmware)});
  ASSERT_LE(got.size(), full.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), full.begin()));
  EXPECT_TRUE(session.app.IsRunning());
}
