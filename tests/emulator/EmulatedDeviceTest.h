#pragma once
// Fixture: one emulated device of the test's own, reached through the device
// library under a device name no other test uses.
#include <gtest/gtest.h>

#include <memory>

#include "emulator/DeviceEmulator.h"
#include "tests/emulator/DeviceClient.h"

// Bound on every wait for the device: generous, only to keep a fault from
// hanging the test.
constexpr DWORD kWaitMs = 5000;
// How long a transfer that should stay pending is watched.
constexpr DWORD kPendingCheckMs = 200;

class EmulatedDeviceTest : public ::testing::Test {
 protected:
  EmulatedDeviceTest() {
    config.name = UniqueDeviceName("EmulatorTest");
    ::SetEnvironmentVariableA(kDeviceNameVariable, config.name.c_str());
  }

  DeviceEmulator& StartDevice() {
    device = std::make_unique<DeviceEmulator>(config);
    EXPECT_TRUE(device->Start());
    return *device;
  }

  UniqueHandle OpenDev() const { return UniqueHandle(library.OpenDev()); }
  UniqueHandle OpenPipe(const char* name) const { return UniqueHandle(library.OpenFile(name)); }

  DeviceEmulatorConfig config;
  std::unique_ptr<DeviceEmulator> device;
  ZumelLibrary library{ZumelPath()};
};
