#pragma once
// The program in a folder of a test's own, started and shown: its device
// library when build/bin has one, and a device name no other test uses, so
// that no device answers.
#include <gtest/gtest.h>

#include <string>

#include "tests/uidriver/AppFolder.h"
#include "tests/uidriver/AppProcess.h"

// Controls of the main dialog and the texts the program sets from lang.ini.
constexpr int kUpdateButtonId = 1000;
constexpr int kStatusLineId = 1002;
constexpr char kAboutCaption[] = "About Download";
constexpr char kBoxCaption[] = "Quelvo";
constexpr char kLibraryUnloadedText[] = "ZumelUSB.dll unloaded";
constexpr char kDeviceVariable[] = "QUELVO_DEVICE";

// Opens the About box; the platform keeps the low four bits for itself.
constexpr UINT kAboutCommand = 0x10;

class AppUnderTest {
 public:
  explicit AppUnderTest(uidriver::CurrentFolder current = uidriver::CurrentFolder::kProgramFolder);

  uidriver::AppFolder& Folder() { return m_folder; }
  const uidriver::AppProcess& Process() const { return m_process; }
  const uidriver::DialogWindow& Dialog() const { return m_dialog; }

  // build/bin has a device library to put beside the program.
  static bool HasDeviceLibrary();
  bool AddDeviceLibrary() { return m_folder.AddDeviceLibrary(); }

  // Starts the program and waits for its main dialog.
  ::testing::AssertionResult Start();

 private:
  uidriver::AppFolder m_folder;
  uidriver::AppProcess m_process;
  uidriver::DialogWindow m_dialog;
};

// For tests that need a quiet dialog: without the device library the program
// shows a message box at every probe.
constexpr char kNoDeviceLibrary[] =
    "build/bin has no ZumelUSB.dll; the program would show its \"unloaded\" box";
