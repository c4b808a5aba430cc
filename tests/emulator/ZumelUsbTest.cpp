// The device library stand-in as the program binds it: by file name at run
// time, two plain exports, handles that outlive the library.
#include "tests/emulator/EmulatedDeviceTest.h"
#include "tests/support/TestFiles.h"

namespace {
constexpr size_t kChunk = 2048;

using ZumelUsb = EmulatedDeviceTest;

TEST_F(ZumelUsb, FailsWithMinusOneWhenNoDeviceRuns) {
  EXPECT_EQ(library.OpenDev(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(library.OpenFile("PIPE00"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(library.OpenFile("PIPE01"), INVALID_HANDLE_VALUE);
}

TEST_F(ZumelUsb, OpensOnlyItsTwoPipeNames) {
  StartDevice();
  for (const char* name : {"PIPE02", "pipe00", "", "dev"}) {
    EXPECT_EQ(library.OpenFile(name), INVALID_HANDLE_VALUE) << name;
  }
}

TEST_F(ZumelUsb, HandleStaysUsableAfterTheLibraryIsFreed) {
  StartDevice();
  UniqueHandle pipe = OpenPipe("PIPE00");
  ASSERT_TRUE(pipe);
  library.Free();
  HostTransfer write;
  EXPECT_TRUE(write.Write(pipe.get(), Pattern(kChunk, 1)) || write.Wait(kWaitMs));
  EXPECT_TRUE(device->WaitForWriteCount(1, kWaitMs));
}

TEST_F(ZumelUsb, ReadsTheDeviceNameAtEachCall) {
  StartDevice();
  DeviceEmulatorConfig otherConfig;
  otherConfig.name = UniqueDeviceName("EmulatorTestOther");
  DeviceEmulator other(otherConfig);
  ASSERT_TRUE(other.Start());

  UniqueHandle first = OpenPipe("PIPE00");
  ::SetEnvironmentVariableA(kDeviceNameVariable, otherConfig.name.c_str());
  UniqueHandle second = OpenPipe("PIPE00");
  EXPECT_TRUE(PlainWrite(first.get(), Bytes("1")));
  EXPECT_TRUE(PlainWrite(second.get(), Bytes("2")));
  ASSERT_TRUE(device->WaitForWriteCount(1, kWaitMs));
  ASSERT_TRUE(other.WaitForWriteCount(1, kWaitMs));
  EXPECT_EQ(device->Bytes(), Bytes("1"));
  EXPECT_EQ(other.Bytes(), Bytes("2"));
}

struct VariantCase {
  const char* folder;
  const char* missing;
  const char* present;
};

class Variants : public ::testing::TestWithParam<VariantCase> {};

TEST_P(Variants, LackExactlyOneExport) {
  ZumelLibrary variant(BinPath(std::string("stand-ins\\") + GetParam().folder + "\\ZumelUSB.dll"));
  ASSERT_TRUE(variant.loaded());
  EXPECT_EQ(variant.Export(GetParam().missing), nullptr);
  EXPECT_NE(variant.Export(GetParam().present), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    ZumelUsb, Variants,
    ::testing::Values(VariantCase{"ZumelUSB-no-open_dev", "open_dev", "open_file"},
                      VariantCase{"ZumelUSB-no-open_file", "open_file", "open_dev"}),
    [](const ::testing::TestParamInfo<VariantCase>& info) {
      return std::string("Without_") + info.param.missing;
    });
}  // namespace
