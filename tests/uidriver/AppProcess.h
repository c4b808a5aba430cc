#pragma once
// One started program, driven from outside. The program and everything it
// starts run in a job object, so that the destructor (or Kill) leaves no
// process behind, also when a test fails half-way.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/UniqueResource.h"
#include "tests/uidriver/DialogWindow.h"
#include "tests/uidriver/LaunchOptions.h"
#include "tests/uidriver/MessageBoxWindow.h"
#include "tests/uidriver/Poll.h"

namespace uidriver {

// The main dialog is the dialog with this control (the update button).
constexpr int kMainDialogMarkerId = 1000;
constexpr DWORD kKilledExitCode = 0xDEAD;

class AppProcess {
 public:
  AppProcess() = default;
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  // False when CreateProcessA failed; StartError() then holds its error.
  bool Start(const LaunchOptions& options);
  DWORD StartError() const { return m_startError; }
  DWORD Id() const { return m_processId; }
  HANDLE Handle() const { return m_process.get(); }

  bool IsRunning() const;
  // The exit code once the process has ended within timeoutMs, else nullopt.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
  // Ends the process and all it started, if still running.
  void Kill();

  // Visible top-level "#32770" windows of the process, top of the z-order first.
  std::vector<HWND> Dialogs() const;

  // The dialog with control kMainDialogMarkerId; empty if none is open.
  DialogWindow MainDialog() const;
  // Stops early (empty result) if the process ends first.
  DialogWindow WaitForMainDialog(DWORD timeoutMs = kFirstWindowTimeoutMs) const;

  // Dialogs whose caption is exactly this.
  std::vector<DialogWindow> DialogsWithCaption(const std::string& caption) const;
  DialogWindow FindDialog(const std::string& caption) const;
  DialogWindow WaitForDialog(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs) const;

  std::vector<MessageBoxWindow> MessageBoxes() const;
  MessageBoxWindow FindMessageBox() const;
  // Stops early (empty result) if the process ends first.
  MessageBoxWindow WaitForMessageBox(DWORD timeoutMs = kDefaultTimeoutMs) const;

 private:
  UniqueHandle m_job;
  UniqueHandle m_process;
  DWORD m_processId = 0;
  DWORD m_startError = 0;
};

}  // namespace uidriver
