#pragma once
// One start of the real program, driven from outside as a user would: a
// private copy of Quelvo.exe whose current folder holds the update files,
// beside the bench's emulated device.
#include <windows.h>

#include <string>

#include "tests/uidriver/AppFolder.h"
#include "tests/uidriver/AppProcess.h"

class DeviceEmulator;

// Moments of one update run (bench::NowSeconds).
struct UpdateMoments {
  double click = 0;       // the update button was clicked
  double firstStart = 0;  // the first start command reached the device
  double lastByte = 0;    // the device held every byte of the run
};

class QuelvoRun {
 public:
  QuelvoRun(const uidriver::AppFolder& program, const std::string& currentFolder,
            DeviceEmulator& device);

  // The dialog is up and says the device is attached.
  bool Start();
  // Clicks the update button and waits until the device holds `wireBytes`
  // after the identification request.
  bool Update(unsigned long long wireBytes, UpdateMoments& moments);

  HANDLE Process() const { return m_app.Handle(); }
  HWND Dialog() const { return m_dialog.Handle(); }
  // The client size of the dialog's progress bar.
  SIZE ProgressBarSize() const;

  static constexpr int kUpdateButtonId = 1000;
  static constexpr int kStatusLineId = 1002;
  static constexpr int kProgressId = 1003;

 private:
  uidriver::LaunchOptions m_launch;
  DeviceEmulator& m_device;
  uidriver::AppProcess m_app;
  uidriver::DialogWindow m_dialog;
};
