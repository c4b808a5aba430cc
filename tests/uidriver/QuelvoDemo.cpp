// Starts build/bin/Quelvo.exe from a given current folder, saves a picture of
// its dialog, prints what the dialog shows, and closes it with Cancel.
//
//   QuelvoDemo.exe <current folder> <screenshot.png>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/TestFiles.h"
#include "tests/uidriver/AppFolder.h"
#include "tests/uidriver/AppProcess.h"

namespace {

using uidriver::AppProcess;
using uidriver::DialogWindow;
using uidriver::MessageBoxWindow;

constexpr int kUpdateButtonId = 1000;
constexpr int kStatusLineId = 1002;
constexpr int kStageLineId = 1004;
constexpr int kResultLineId = 1005;
// Long enough for the first presence probe (100 ms after the dialog opens).
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kExitTimeoutMs = 10000;

struct NamedControl {
  const char* name;
  int id;
};

constexpr NamedControl kControls[] = {
    {"update button", kUpdateButtonId}, {"cancel button", IDCANCEL},
    {"status line", kStatusLineId},     {"stage line", kStageLineId},
    {"result line", kResultLineId},
};

void PrintTexts(const DialogWindow& dialog) {
  std::printf("caption: \"%s\"\n", dialog.Caption().value_or("<none>").c_str());
  for (const NamedControl& control : kControls) {
    std::printf("%s (%d): \"%s\"%s\n", control.name, control.id,
                dialog.ControlText(control.id).value_or("<none>").c_str(),
                dialog.IsControlEnabled(control.id).value_or(true) ? "" : " (disabled)");
  }
}

void PrintMessageBoxes(const AppProcess& app) {
  for (const MessageBoxWindow& box : app.MessageBoxes()) {
    std::printf("message box \"%s\" (%s icon): \"%s\"\n", box.Caption().value_or("").c_str(),
                uidriver::BoxIconName(box.Icon()), box.Text().value_or("").c_str());
  }
}

// Cancel ends the dialog; a message box open at that moment must be closed
// first for the dialog's loop to see it.
bool CloseWithCancel(const AppProcess& app, const DialogWindow& dialog) {
  dialog.Click(IDCANCEL);
  return uidriver::WaitUntil(
      [&] {
        for (const MessageBoxWindow& box : app.MessageBoxes()) box.PressOk();
        return !app.IsRunning();
      },
      kExitTimeoutMs, uidriver::kPollIntervalMs * 10);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: QuelvoDemo <current folder> <screenshot.png>\n");
    return 2;
  }
  uidriver::LaunchOptions options;
  options.program = BinPath(uidriver::kProgramName);
  options.currentFolder = argv[1];

  AppProcess app;
  if (!app.Start(options)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", options.program.c_str(),
                 app.StartError());
    return 1;
  }
  DialogWindow dialog = app.WaitForMainDialog();
  if (!dialog) {
    std::fprintf(stderr, "the main dialog did not appear\n");
    return 1;
  }
  ::Sleep(kSettleMs);

  if (dialog.SaveScreenshot(argv[2])) {
    std::printf("screenshot: %s\n", argv[2]);
  } else {
    std::fprintf(stderr, "cannot save the screenshot to %s\n", argv[2]);
  }
  PrintTexts(dialog);
  PrintMessageBoxes(app);

  if (!CloseWithCancel(app, dialog)) {
    std::fprintf(stderr, "the program did not end after Cancel\n");
    return 1;
  }
  std::printf("exit code: %lu\n", app.WaitForExit().value_or(0));
  return 0;
}
