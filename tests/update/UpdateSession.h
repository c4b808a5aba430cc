#pragma once
// One program under test beside its own emulated device: a private copy of
// Quelvo.exe with the sample lang.ini, the device library and the installer
// stand-in, a current folder for the update files, and a device that only
// this program reaches.
#include <optional>
#include <string>

#include "emulator/DeviceEmulator.h"
#include "tests/uidriver/AppFolder.h"
#include "tests/uidriver/AppProcess.h"
#include "tests/update/UpdateImages.h"

// Control ids of the main dialog.
constexpr int kUpdateButton = 1000;
constexpr int kStatusLine = 1002;
constexpr int kStageLine = 1004;
constexpr int kResultLine = 1005;

constexpr DWORD kRunTimeoutMs = 60000;
constexpr char kDownloadFailed[] = "USB Download Fail !!! Try Again !";
constexpr char kNotOurDevice[] = "This is Not KALDER !";

class UpdateSession {
 public:
  explicit UpdateSession(DeviceEmulatorConfig config = DeviceEmulatorConfig());

  // Writes an update file into the program's current folder.
  void AddFile(const std::string& name, const Bytes& bytes);

  // Starts the device (unless told not to) and the program, and waits for
  // the dialog, and for the status line to say the device is attached when
  // it is present.
  bool Start(bool startDevice = true);

  // Clicks the update button and waits until the run has sent
  // `expectedBytes` bytes in all ("!" included).
  bool RunUpdateUntil(size_t expectedBytes, DWORD timeoutMs = kRunTimeoutMs);

  std::optional<std::string> Text(int id) const { return dialog.ControlText(id); }
  bool WaitForText(int id, const std::string& text, DWORD timeoutMs = kRunTimeoutMs) const;

  DeviceEmulatorConfig config;
  DeviceEmulator device;
  uidriver::AppFolder folder{uidriver::CurrentFolder::kSeparateFolder};
  uidriver::AppProcess app;
  uidriver::DialogWindow dialog;
};
