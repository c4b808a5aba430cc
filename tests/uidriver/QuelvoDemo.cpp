// Shows the program at work, driven from outside as a user would: starts
// build/bin/Quelvo.exe in a given current folder, saves a picture of its
// dialog, and with --update presses the update button, reports the stage and
// progress it reads off the dialog, and saves pictures during and after the
// transfer. Then it closes the dialog with Cancel.
//
//   QuelvoDemo.exe <current folder> <picture folder> [--update]
//
// The device library finds its device through QUELVO_DEVICE, which the
// program inherits from here.
#include <windows.h>
// windows.h must come first.
#include <commctrl.h>

#include <cstdio>
#include <cstring>
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
constexpr int kProgressId = 1003;
constexpr int kStageLineId = 1004;
constexpr int kResultLineId = 1005;
// The first presence probe comes 100 ms after the dialog opens.
constexpr DWORD kAttachTimeoutMs = 5000;
constexpr DWORD kRunTimeoutMs = 120000;
constexpr DWORD kWatchIntervalMs = 10;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kTextSize = 260;
// The picture during the transfer is taken once the bar is this far along.
constexpr int kMidTransferPosition = 40;
constexpr char kLastStageKey[] = "1026";

struct NamedControl {
  const char* name;
  int id;
};

constexpr NamedControl kControls[] = {
    {"update button", kUpdateButtonId}, {"cancel button", IDCANCEL},
    {"status line", kStatusLineId},     {"stage line", kStageLineId},
    {"result line", kResultLineId},
};

std::string LangText(const char* key) {
  char text[kTextSize] = "";
  ::GetPrivateProfileStringA("message", key, "", text, kTextSize, BinPath("lang.ini").c_str());
  return text;
}

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

void SavePicture(const DialogWindow& dialog, const std::string& folder, const char* name) {
  const std::string path = folder + "\\" + name;
  if (dialog.SaveScreenshot(path)) {
    std::printf("picture: %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "cannot save the picture %s\n", path.c_str());
  }
}

// The platform control's own position: what the bar shows, within 0..100.
int ProgressPosition(const DialogWindow& dialog) {
  DWORD_PTR position = 0;
  ::SendMessageTimeoutA(dialog.Control(kProgressId), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                        uidriver::kSendTimeoutMs, &position);
  return static_cast<int>(position);
}

// Presses the update button and follows the run until the last stage's
// image has been sent, a message box appears, or the time is up.
bool FollowUpdate(const AppProcess& app, const DialogWindow& dialog, const std::string& pictures) {
  const std::string sent = LangText("1030");
  const std::string lastStage = LangText(kLastStageKey);
  const ULONGLONG started = ::GetTickCount64();
  dialog.Click(kUpdateButtonId);

  std::string shownStage;
  int shownTenth = -1;
  bool midPictureTaken = false;
  while (::GetTickCount64() - started < kRunTimeoutMs) {
    if (!app.MessageBoxes().empty()) return false;
    const std::string stage = dialog.ControlText(kStageLineId).value_or("");
    const std::string result = dialog.ControlText(kResultLineId).value_or("");
    const int position = ProgressPosition(dialog);
    if (stage != shownStage) {
      shownStage = stage;
      shownTenth = -1;
      if (!stage.empty()) std::printf("stage: \"%s\"\n", stage.c_str());
    }
    if (!stage.empty() && position / 10 != shownTenth) {
      shownTenth = position / 10;
      std::printf("  progress: %d%%\n", position);
    }
    if (!midPictureTaken && position >= kMidTransferPosition && result.empty()) {
      SavePicture(dialog, pictures, "during-update.png");
      midPictureTaken = true;
    }
    if (stage == lastStage && result == sent) {
      std::printf("result: \"%s\" after %.1f s\n", result.c_str(),
                  (::GetTickCount64() - started) / 1000.0);
      return true;
    }
    ::Sleep(kWatchIntervalMs);
  }
  std::fprintf(stderr, "the update did not end in time\n");
  return false;
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
  const bool update = argc == 4 && std::strcmp(argv[3], "--update") == 0;
  if (argc != 3 && !update) {
    std::fprintf(stderr, "usage: QuelvoDemo <current folder> <picture folder> [--update]\n");
    return 2;
  }
  const std::string pictures = argv[2];
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
  const std::string attached = LangText("1024");
  if (!uidriver::WaitUntil([&] { return dialog.ControlText(kStatusLineId) == attached; },
                           kAttachTimeoutMs)) {
    std::fprintf(stderr, "the device is not shown as attached\n");
  }
  SavePicture(dialog, pictures, "dialog.png");
  PrintTexts(dialog);

  bool ok = true;
  if (update) {
    ok = FollowUpdate(app, dialog, pictures);
    SavePicture(dialog, pictures, "after-update.png");
    PrintTexts(dialog);
  }
  PrintMessageBoxes(app);

  if (!CloseWithCancel(app, dialog)) {
    std::fprintf(stderr, "the program did not end after Cancel\n");
    return 1;
  }
  std::printf("exit code: %lu\n", app.WaitForExit().value_or(0));
  return ok ? 0 : 1;
}
