// The faults the emulated device plays on command: absent, attached late,
// unplugged, stalled, slow.
#include "tests/emulator/EmulatedDeviceTest.h"

namespace {
constexpr size_t kChunk = 2048;
constexpr size_t kStartCommand = 20;
constexpr DWORD kAttachAfterMs = 300;
constexpr DWORD kPollMs = 10;

using Presence = EmulatedDeviceTest;
using Unplug = EmulatedDeviceTest;
using Stall = EmulatedDeviceTest;
using SlowReads = EmulatedDeviceTest;

// True once open_dev finds the device, within a bound.
bool AppearsWithin(const ZumelLibrary& library, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
    if (UniqueHandle(library.OpenDev())) return true;
    ::Sleep(kPollMs);
  }
  return false;
}

TEST_F(Presence, AbsentDeviceFailsEveryOpenUntilAttached) {
  config.present = false;
  StartDevice();
  EXPECT_FALSE(OpenDev());
  EXPECT_FALSE(OpenPipe("PIPE00"));
  EXPECT_FALSE(OpenPipe("PIPE01"));
  device->Attach();
  EXPECT_TRUE(OpenDev());
  EXPECT_TRUE(OpenPipe("PIPE00"));
}

TEST_F(Presence, AttachesByItselfAfterTheDelay) {
  config.attachAfterMs = kAttachAfterMs;
  StartDevice();
  EXPECT_FALSE(device->IsPresent());
  EXPECT_FALSE(OpenDev());
  EXPECT_TRUE(AppearsWithin(library, kWaitMs));
}

TEST_F(Unplug, OnRequestBreaksOpenHandlesUntilAttachedAgain) {
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  UniqueHandle in = OpenPipe("PIPE01");
  EXPECT_TRUE(PlainWrite(pipe.get(), Bytes("!")));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  device->Unplug();
  EXPECT_FALSE(OpenDev());
  EXPECT_FALSE(OpenPipe("PIPE00"));
  HostTransfer write;
  EXPECT_FALSE(write.Write(pipe.get(), Pattern(kChunk, 1)) || write.Wait(kWaitMs));
  // The reply to the "!" went with the device.
  HostTransfer read;
  EXPECT_FALSE(read.Read(in.get(), kChunk) || read.Wait(kWaitMs));

  device->Attach();
  EXPECT_TRUE(OpenDev());
  UniqueHandle again = OpenPipe("PIPE00");
  HostTransfer rewrite;
  EXPECT_TRUE(rewrite.Write(again.get(), Pattern(kChunk, 2)) || rewrite.Wait(kWaitMs));
  EXPECT_TRUE(device->WaitForWriteCount(2, kWaitMs));
}

TEST_F(Unplug, AfterConfiguredBytesKeepsWhatArrivedUntilThen) {
  config.unplugAfterBytes = 1 + kStartCommand + kChunk;
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  EXPECT_TRUE(PlainWrite(pipe.get(), Bytes("!")));
  HostTransfer command, chunk;
  EXPECT_TRUE(command.Write(pipe.get(), Pattern(kStartCommand, 1)));
  EXPECT_TRUE(chunk.Write(pipe.get(), Pattern(kChunk, 2)));
  ASSERT_TRUE(device->WaitForWriteCount(3, kWaitMs));
  EXPECT_FALSE(device->IsPresent());
  EXPECT_FALSE(OpenDev());
  HostTransfer late;
  EXPECT_FALSE(late.Write(pipe.get(), Pattern(kChunk, 3)) || late.Wait(kWaitMs));
  EXPECT_EQ(device->WriteCount(), 3u);
}

TEST_F(Unplug, AtRunTimeCountsFromThen) {
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  HostTransfer first;
  EXPECT_TRUE(first.Write(pipe.get(), Pattern(kChunk, 1)));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  device->UnplugAfterBytes(kChunk);
  EXPECT_TRUE(device->IsPresent());
  HostTransfer second;
  EXPECT_TRUE(second.Write(pipe.get(), Pattern(kChunk, 2)));
  ASSERT_TRUE(device->WaitForWriteCount(2, kWaitMs));
  EXPECT_FALSE(device->IsPresent());
  EXPECT_FALSE(OpenDev());
}

TEST_F(Stall, FromTheStartLetsOnlyTheRequestThrough) {
  config.stalled = true;
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  HostTransfer request, command;
  EXPECT_TRUE(request.Write(pipe.get(), Bytes("!")));
  EXPECT_FALSE(command.Write(pipe.get(), Pattern(kStartCommand, 1)));
  EXPECT_TRUE(command.pending());
  ::Sleep(kPendingCheckMs);
  EXPECT_FALSE(command.Poll());
  EXPECT_EQ(command.error(), static_cast<DWORD>(ERROR_IO_INCOMPLETE));
  EXPECT_EQ(device->WriteCount(), 0u);

  device->Resume();
  EXPECT_TRUE(command.Wait(kWaitMs));
  ASSERT_TRUE(device->WaitForWriteCount(2, kWaitMs));
  EXPECT_EQ(device->WriteSizes(), (std::vector<size_t>{1, kStartCommand}));
}

TEST_F(Stall, AfterTheRequestStillAnswersItButTakesNothingMore) {
  config.stallAfterBytes = 1;
  StartDevice();
  UniqueHandle out = OpenPipe("PIPE00");
  EXPECT_TRUE(PlainWrite(out.get(), Bytes("!")));
  UniqueHandle in = OpenPipe("PIPE01");
  HostTransfer read;
  EXPECT_TRUE(read.Read(in.get(), kChunk) || read.Wait(kWaitMs));
  // A stage opens PIPE00 anew: its writes pend for good.
  UniqueHandle stage = OpenPipe("PIPE00");
  HostTransfer command;
  EXPECT_FALSE(command.Write(stage.get(), Pattern(kStartCommand, 1)));
  EXPECT_FALSE(command.Wait(kPendingCheckMs));
  EXPECT_TRUE(command.pending());
  EXPECT_EQ(device->WriteCount(), 1u);
}

TEST_F(Stall, AtRunTimePendsWritesOnceTheBufferIsFull) {
  config.pipeBufferBytes = 4 * kChunk;
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  device->Stall();
  std::vector<std::unique_ptr<HostTransfer>> writes;
  for (int index = 0; index < 4; ++index) {
    writes.push_back(std::make_unique<HostTransfer>());
    EXPECT_TRUE(writes.back()->Write(pipe.get(), Pattern(kChunk, index))) << index;
  }
  HostTransfer over;
  EXPECT_FALSE(over.Write(pipe.get(), Pattern(kChunk, 4)));
  EXPECT_FALSE(over.Wait(kPendingCheckMs));
  EXPECT_TRUE(over.pending());
  EXPECT_EQ(device->WriteCount(), 0u);

  device->Resume();
  EXPECT_TRUE(over.Wait(kWaitMs));
  EXPECT_TRUE(device->WaitForWriteCount(5, kWaitMs));
}

TEST_F(SlowReads, KeepEachWritePendingUntilTheDeviceReads) {
  config.readDelayMs = 1000;
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  for (unsigned index = 1; index <= 2; ++index) {
    HostTransfer write;
    EXPECT_FALSE(write.Write(pipe.get(), Pattern(kChunk, index)));
    EXPECT_TRUE(write.pending());
    EXPECT_TRUE(write.Wait(kWaitMs));
    EXPECT_TRUE(device->WaitForWriteCount(index, kWaitMs));
  }
}
}  // namespace
