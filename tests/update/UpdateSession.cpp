#include "tests/update/UpdateSession.h"

#include "tests/support/TestFiles.h"
#include "tests/uidriver/Poll.h"

namespace {
DeviceEmulatorConfig WithUniqueName(DeviceEmulatorConfig config) {
  config.name = UniqueDeviceName("update");
  return config;
}
}  // namespace

UpdateSession::UpdateSession(DeviceEmulatorConfig deviceConfig)
    : config(WithUniqueName(deviceConfig)), device(config) {
  folder.AddSampleLangIni();
  folder.AddDeviceLibrary();
  folder.AddInstaller();
  folder.SetEnvironment(kDeviceNameVariable, config.name);
}

void UpdateSession::AddFile(const std::string& name, const Bytes& bytes) {
  WriteBytes(folder.InCurrentFolder(name), bytes);
}

bool UpdateSession::Start(bool startDevice) {
  if (startDevice && !device.Start()) return false;
  if (!folder.Ready() || !app.Start(folder.Launch())) return false;
  dialog = app.WaitForMainDialog();
  if (!dialog) return false;
  if (startDevice && config.present && config.attachAfterMs == 0) {
    return WaitForText(kStatusLine, SampleText("1024"));
  }
  return true;
}

bool UpdateSession::RunUpdateUntil(size_t expectedBytes, DWORD timeoutMs) {
  dialog.Click(kUpdateButton);
  return device.WaitForTotalBytes(expectedBytes, timeoutMs);
}

bool UpdateSession::WaitForText(int id, const std::string& text, DWORD timeoutMs) const {
  return uidriver::WaitUntil([&] { return dialog.ControlText(id) == text; }, timeoutMs);
}
