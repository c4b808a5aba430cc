// The emulated device in normal operation: what it records, how it answers
// "!", and many handles at once.
#include <thread>

#include "tests/emulator/EmulatedDeviceTest.h"

namespace {
constexpr DWORD kReplySize = 10;
constexpr size_t kChunk = 2048;
constexpr size_t kStartCommand = 20;
// Longer than one read of the device: must still be one write.
constexpr size_t kLongWrite = 100 * 1024;

using Capture = EmulatedDeviceTest;
using Reply = EmulatedDeviceTest;
using Handles = EmulatedDeviceTest;

TEST_F(Capture, RecordsEachWriteByteForByte) {
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  ASSERT_TRUE(pipe);
  std::vector<std::vector<unsigned char>> sent = {Bytes("!"),         Pattern(kStartCommand, 1),
                                                  Pattern(kChunk, 2), Pattern(1, 3),
                                                  Pattern(kChunk, 4), Pattern(kLongWrite, 5)};
  EXPECT_TRUE(PlainWrite(pipe.get(), sent[0]));
  for (size_t index = 1; index < sent.size(); ++index) {
    HostTransfer write;
    // The device's buffer takes these at once: the host never waits.
    EXPECT_TRUE(write.Write(pipe.get(), sent[index]) || write.Wait(kWaitMs)) << index;
  }
  ASSERT_TRUE(device->WaitForWriteCount(sent.size(), kWaitMs));
  EXPECT_EQ(device->Writes(), sent);
  std::vector<size_t> sizes = {1, kStartCommand, kChunk, 1, kChunk, kLongWrite};
  EXPECT_EQ(device->WriteSizes(), sizes);
  std::vector<unsigned char> all;
  for (const auto& write : sent) all.insert(all.end(), write.begin(), write.end());
  EXPECT_EQ(device->Bytes(), all);
  EXPECT_EQ(device->TotalBytes(), all.size());
}

TEST_F(Capture, ChunksWrittenBackToBackCompleteAtOnce) {
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  constexpr int kChunks = 64;
  for (int index = 0; index < kChunks; ++index) {
    HostTransfer write;
    ASSERT_TRUE(write.Write(pipe.get(), Pattern(kChunk, index))) << index;
  }
  EXPECT_TRUE(device->WaitForTotalBytes(kChunks * kChunk, kWaitMs));
}

struct ReplyCase {
  const char* name;
  std::vector<unsigned char> configured;
  std::vector<unsigned char> expected;
};

class ReplyCases : public EmulatedDeviceTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyCases, AnswersTheRequestOnPipe01OpenedAfterIt) {
  config.reply = GetParam().configured;
  StartDevice();
  UniqueHandle out = OpenPipe("PIPE00");
  EXPECT_TRUE(PlainWrite(out.get(), Bytes("!")));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  UniqueHandle in = OpenPipe("PIPE01");
  ASSERT_TRUE(in);
  HostTransfer read;
  ASSERT_TRUE(read.Read(in.get(), kReplySize) || read.Wait(kWaitMs));
  EXPECT_EQ(read.received(), GetParam().expected);
  EXPECT_TRUE(device->WaitForRepliesTaken(1, kWaitMs));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyCases,
    ::testing::Values(ReplyCase{"Default", DeviceEmulatorConfig::DefaultReply(),
                                Bytes("TQUELVO-01")},
                      ReplyCase{"AnyTenBytes", Pattern(kReplySize, 'T'), Pattern(kReplySize, 'T')},
                      ReplyCase{"Short", Bytes("T"), Bytes("T")},
                      ReplyCase{"OtherFirstByte", Bytes("tQUELVO-01"), Bytes("tQUELVO-01")}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST_F(Reply, IsKeptUntilTheHostReadsIt) {
  StartDevice();
  UniqueHandle in = OpenPipe("PIPE01");
  UniqueHandle out = OpenPipe("PIPE00");
  EXPECT_TRUE(PlainWrite(out.get(), Bytes("!")));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  // A handle closed without reading does not take the reply with it.
  in.reset();
  UniqueHandle later = OpenPipe("PIPE01");
  HostTransfer read;
  ASSERT_TRUE(read.Read(later.get(), kReplySize) || read.Wait(kWaitMs));
  EXPECT_EQ(read.received(), DeviceEmulatorConfig::DefaultReply());
  // The device learns that its reply went a moment after the host has it.
  EXPECT_TRUE(device->WaitForRepliesTaken(1, kWaitMs));
  EXPECT_EQ(device->RepliesTaken(), 1u);
}

struct SilenceCase {
  const char* name;
  std::vector<unsigned char> configured;
  std::vector<unsigned char> request;
};

class SilenceCases : public EmulatedDeviceTest,
                     public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(SilenceCases, LeavesTheHostsReadPending) {
  config.reply = GetParam().configured;
  StartDevice();
  UniqueHandle out = OpenPipe("PIPE00");
  UniqueHandle in = OpenPipe("PIPE01");
  EXPECT_TRUE(PlainWrite(out.get(), GetParam().request));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  HostTransfer read;
  EXPECT_FALSE(read.Read(in.get(), kReplySize));
  EXPECT_TRUE(read.pending());
  ::Sleep(kPendingCheckMs);
  EXPECT_FALSE(read.Poll());
  EXPECT_EQ(read.error(), static_cast<DWORD>(ERROR_IO_INCOMPLETE));
  EXPECT_FALSE(read.Cancel());
  EXPECT_EQ(read.error(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
}

INSTANTIATE_TEST_SUITE_P(
    Silence, SilenceCases,
    ::testing::Values(SilenceCase{"NoReplyConfigured", {}, Bytes("!")},
                      SilenceCase{"RequestNotAlone", DeviceEmulatorConfig::DefaultReply(),
                                  Bytes("!!")}),
    [](const ::testing::TestParamInfo<SilenceCase>& info) { return info.param.name; });

TEST_F(Handles, ManyAtOnceWhileProbingTheDevice) {
  StartDevice();
  constexpr int kEach = 3;
  std::vector<UniqueHandle> outs, ins;
  for (int index = 0; index < kEach; ++index) {
    outs.emplace_back(library.OpenFile("PIPE00"));
    ins.emplace_back(library.OpenFile("PIPE01"));
    ASSERT_TRUE(outs.back() && ins.back());
  }
  // A worker writes while the device is opened and closed over and over.
  constexpr int kWrites = 200;
  std::thread writer([&] {
    for (int index = 0; index < kWrites; ++index) {
      HostTransfer write;
      EXPECT_TRUE(write.Write(outs[index % kEach].get(), Pattern(kChunk, index)) ||
                  write.Wait(kWaitMs));
    }
  });
  constexpr unsigned kProbes = 50;
  for (unsigned probe = 0; probe < kProbes; ++probe) EXPECT_TRUE(OpenDev()) << probe;
  writer.join();
  EXPECT_TRUE(device->WaitForTotalBytes(kWrites * kChunk, kWaitMs));
  EXPECT_EQ(device->WriteCount(), static_cast<size_t>(kWrites));
  EXPECT_TRUE(device->WaitForOpenCount(DevicePipe::Presence, kProbes, kWaitMs));
  EXPECT_EQ(device->OpenCount(DevicePipe::Presence), kProbes);
  EXPECT_TRUE(device->WaitForOpenCount(DevicePipe::In, kEach, kWaitMs));
  EXPECT_EQ(device->OpenCount(DevicePipe::Out), static_cast<unsigned>(kEach));
  EXPECT_EQ(device->OpenCount(DevicePipe::In), static_cast<unsigned>(kEach));
  outs.clear();
  EXPECT_TRUE(device->WaitForConnectedCount(DevicePipe::Out, 0, kWaitMs));
  EXPECT_TRUE(device->WaitForConnectedCount(DevicePipe::Presence, 0, kWaitMs));
  EXPECT_EQ(device->ConnectedCount(DevicePipe::In), static_cast<unsigned>(kEach));
}
}  // namespace
