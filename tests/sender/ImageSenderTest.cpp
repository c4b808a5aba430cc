// The image sender on its own, against an emulated device: what it shows on
// the dialog while it works, and what the device receives.
#include "update/ImageSender.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "emulator/DeviceEmulator.h"
#include "framework/WorkerThread.h"
#include "update/SenderView.h"
#include "update/SharedState.h"

namespace {
constexpr DWORD kHeaderBytes = 1024;
constexpr DWORD kStartCommandBytes = 20;
constexpr DWORD kChunkBytes = 2048;
constexpr DWORD kProgressUnits = 100;
constexpr DWORD kSenderLimitMs = 60000;
constexpr DWORD kTextSize = 260;

// Records what the sender shows; read only once the sender has ended.
class RecordingView : public SenderView {
 public:
  void DisableUpdateButton() override { ++disabled; }
  void ShowProgress(int position) override { positions.push_back(position); }
  void ShowResult(const char* text) override { results.emplace_back(text); }

  int disabled = 0;
  std::vector<int> positions;
  std::vector<std::string> results;
};

// The positions the bar went through when it was moved after every chunk,
// each shown once: the bar must still pass through exactly these.
std::vector<int> DistinctChunkPositions(DWORD payload) {
  DWORD step = payload / kProgressUnits;
  if (step == 0) step = 1;
  std::vector<int> positions;
  for (DWORD sent = 0; sent < payload;) {
    sent += payload - sent < kChunkBytes ? payload - sent : kChunkBytes;
    const int position = static_cast<int>(sent / step);
    if (positions.empty() || positions.back() != position) positions.push_back(position);
  }
  return positions;
}

std::vector<unsigned char> MakeImage(DWORD payload) {
  std::vector<unsigned char> image(kHeaderBytes + payload);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(i * 31 + 7);
  image[0] = '#';
  image[1] = 1;
  return image;
}

std::string SampleImageSentText() {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string iniPath(path, length);
  iniPath = iniPath.substr(0, iniPath.find_last_of("\\/")) + "\\lang.ini";
  char text[kTextSize] = "";
  ::GetPrivateProfileStringA("message", "1030", "", text, kTextSize, iniPath.c_str());
  return text;
}

class ImageSenderTest : public ::testing::TestWithParam<DWORD> {
 protected:
  void SetUp() override {
    config.name = UniqueDeviceName("SenderTest");
    device = std::make_unique<DeviceEmulator>(config);
    ASSERT_TRUE(device->Start());
  }

  // Hands the image and a fresh "PIPE00" to a sender, as the update run does,
  // and waits for the sender to end.
  void Send(const std::vector<unsigned char>& image) {
    HANDLE pipe = ::CreateFileA(DevicePipePath(config.name, DevicePipe::Out).c_str(),
                                GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, image.size());
    ASSERT_NE(block, nullptr);
    std::memcpy(block, image.data(), image.size());
    // The sender owns the block and the pipe from its start and frees both.
    g_pImage = static_cast<BYTE*>(block);
    g_nImageSize = static_cast<DWORD>(image.size());
    g_nImageSent = 0;
    g_hPipeOut = pipe;
    g_bStageFailed = 0;
    UniqueHandle sender = AfxBeginThread(ImageSendThread, static_cast<SenderView*>(&view));
    ASSERT_TRUE(sender);
    ASSERT_EQ(::WaitForSingleObject(sender.get(), kSenderLimitMs), WAIT_OBJECT_0);
  }

  DeviceEmulatorConfig config;
  std::unique_ptr<DeviceEmulator> device;
  RecordingView view;
};

TEST_P(ImageSenderTest, MovesTheBarThroughEachPositionOnceAndSendsEveryByte) {
  const DWORD payload = GetParam();
  const std::vector<unsigned char> image = MakeImage(payload);
  Send(image);

  EXPECT_EQ(g_bStageDone, 1);
  EXPECT_EQ(g_bStageFailed, 0);
  EXPECT_EQ(view.disabled, 1);
  EXPECT_EQ(view.positions, DistinctChunkPositions(payload));
  EXPECT_EQ(view.results, std::vector<std::string>{SampleImageSentText()});

  std::vector<unsigned char> wire(image.begin(), image.begin() + kStartCommandBytes);
  wire.insert(wire.end(), image.begin() + kHeaderBytes, image.end());
  ASSERT_TRUE(device->WaitForTotalBytes(wire.size(), kSenderLimitMs));
  EXPECT_EQ(device->Bytes(), wire);
}

// A payload under a hundred bytes (step 1, ends below 100); one that ends
// above 100 (250: step 2, last position 125); a chunk and a byte; several
// chunks per position, where the first positions are 0.
INSTANTIATE_TEST_SUITE_P(Payloads, ImageSenderTest,
                         ::testing::Values(4u, 250u, kChunkBytes + 1, 3 * kChunkBytes + 1,
                                           1000u * kChunkBytes + 123));
}  // namespace
