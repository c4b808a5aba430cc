#include "bench/QuelvoRun.h"

#include "bench/Clock.h"
#include "bench/DeviceWatch.h"
#include "emulator/DeviceEmulator.h"
#include "tests/support/TestFiles.h"
#include "tests/uidriver/Poll.h"

namespace {
constexpr unsigned long long kRequestBytes = 1;
constexpr unsigned long long kStartCommandBytes = 20;
constexpr char kAttachedKey[] = "1024";
constexpr DWORD kTextSize = 260;
constexpr DWORD kAttachTimeoutMs = 20000;

std::string AttachedText() {
  char text[kTextSize] = "";
  ::GetPrivateProfileStringA("message", kAttachedKey, "", text, kTextSize,
                             BinPath("lang.ini").c_str());
  return text;
}
}  // namespace

QuelvoRun::QuelvoRun(const uidriver::AppFolder& program, const std::string& currentFolder,
                     DeviceEmulator& device)
    : m_launch(program.Launch()), m_device(device) {
  m_launch.currentFolder = currentFolder;
}

bool QuelvoRun::Start() {
  if (!m_app.Start(m_launch)) return false;
  m_dialog = m_app.WaitForMainDialog();
  if (!m_dialog) return false;
  const std::string attached = AttachedText();
  return uidriver::WaitUntil([&] { return m_dialog.ControlText(kStatusLineId) == attached; },
                             kAttachTimeoutMs);
}

bool QuelvoRun::Update(unsigned long long wireBytes, UpdateMoments& moments) {
  m_device.ClearCapture();
  DeviceWatch watch(m_device);
  moments.click = bench::NowSeconds();
  if (!m_dialog.Click(kUpdateButtonId)) return false;
  moments.firstStart = watch.WaitForBytes(kRequestBytes + kStartCommandBytes);
  if (moments.firstStart < 0) return false;
  moments.lastByte = watch.WaitForBytes(kRequestBytes + wireBytes);
  return moments.lastByte >= 0;
}

SIZE QuelvoRun::ProgressBarSize() const {
  RECT client = {};
  ::GetClientRect(m_dialog.Control(kProgressId), &client);
  return SIZE{client.right, client.bottom};
}
