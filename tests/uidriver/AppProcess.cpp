#include "tests/uidriver/AppProcess.h"

#include <vector>

#include "tests/uidriver/EnvironmentBlock.h"

namespace uidriver {
namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kClassNameSize = 64;
constexpr DWORD kKillWaitMs = 10000;

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogOfProcess(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
  char name[kClassNameSize] = "";
  ::GetClassNameA(window, name, kClassNameSize);
  if (::lstrcmpA(name, kDialogClass) == 0) search->found.push_back(window);
  return TRUE;
}

UniqueHandle CreateKillOnCloseJob() {
  UniqueHandle job(::CreateJobObjectA(nullptr, nullptr));
  if (!job) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof(limits))) {
    job.reset();
  }
  return job;
}

}  // namespace

AppProcess::~AppProcess() { Kill(); }

bool AppProcess::Start(const LaunchOptions& options) {
  Kill();
  std::string commandLine = "\"" + options.program + "\"";
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  std::vector<char> mutableCommandLine(commandLine.begin(), commandLine.end());
  mutableCommandLine.push_back('\0');

  EnvironmentBlock environment;
  environment.SetAll(options.environment);

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  // Suspended until it is in the job, so that nothing it starts escapes.
  if (!::CreateProcessA(options.program.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, environment.Data(),
                        options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(),
                        &startup, &info)) {
    m_startError = ::GetLastError();
    return false;
  }
  m_process.reset(info.hProcess);
  UniqueHandle thread(info.hThread);
  m_processId = info.dwProcessId;
  m_startError = 0;

  m_job = CreateKillOnCloseJob();
  if (m_job && !::AssignProcessToJobObject(m_job.get(), m_process.get())) m_job.reset();
  ::ResumeThread(thread.get());
  return true;
}

bool AppProcess::IsRunning() const {
  return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> AppProcess::WaitForExit(DWORD timeoutMs) const {
  if (!m_process || ::WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(m_process.get(), &code)) return std::nullopt;
  return code;
}

void AppProcess::Kill() {
  if (m_job) {
    ::TerminateJobObject(m_job.get(), kKilledExitCode);
  } else if (IsRunning()) {
    ::TerminateProcess(m_process.get(), kKilledExitCode);
  }
  if (m_process) ::WaitForSingleObject(m_process.get(), kKillWaitMs);
  m_job.reset();
  m_process.reset();
  m_processId = 0;
}

std::vector<HWND> AppProcess::Dialogs() const {
  WindowSearch search{m_processId, {}};
  if (m_processId) ::EnumWindows(&CollectDialogOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DialogWindow AppProcess::MainDialog() const {
  for (HWND window : Dialogs()) {
    if (DialogWindow(window).Control(kMainDialogMarkerId)) return DialogWindow(window);
  }
  return DialogWindow();
}

DialogWindow AppProcess::WaitForMainDialog(DWORD timeoutMs) const {
  DialogWindow dialog;
  WaitUntil(
      [&] {
        dialog = MainDialog();
        return dialog.Exists() || !IsRunning();
      },
      timeoutMs);
  return dialog;
}

std::vector<DialogWindow> AppProcess::DialogsWithCaption(const std::string& caption) const {
  std::vector<DialogWindow> found;
  for (HWND window : Dialogs()) {
    DialogWindow dialog(window);
    if (dialog.Caption() == caption) found.push_back(dialog);
  }
  return found;
}

DialogWindow AppProcess::FindDialog(const std::string& caption) const {
  std::vector<DialogWindow> found = DialogsWithCaption(caption);
  return found.empty() ? DialogWindow() : found.front();
}

DialogWindow AppProcess::WaitForDialog(const std::string& caption, DWORD timeoutMs) const {
  DialogWindow dialog;
  WaitUntil(
      [&] {
        dialog = FindDialog(caption);
        return dialog.Exists() || !IsRunning();
      },
      timeoutMs);
  return dialog;
}

std::vector<MessageBoxWindow> AppProcess::MessageBoxes() const {
  std::vector<MessageBoxWindow> boxes;
  for (HWND window : Dialogs()) {
    if (MessageBoxWindow::IsMessageBox(window)) boxes.emplace_back(window);
  }
  return boxes;
}

MessageBoxWindow AppProcess::FindMessageBox() const {
  std::vector<MessageBoxWindow> boxes = MessageBoxes();
  return boxes.empty() ? MessageBoxWindow() : boxes.front();
}

MessageBoxWindow AppProcess::WaitForMessageBox(DWORD timeoutMs) const {
  MessageBoxWindow box;
  WaitUntil(
      [&] {
        box = FindMessageBox();
        return box.Exists() || !IsRunning();
      },
      timeoutMs);
  return box;
}

}  // namespace uidriver
