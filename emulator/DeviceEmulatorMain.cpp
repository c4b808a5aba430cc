// DeviceEmulator.exe: runs one emulated device until it is told to stop.
//
// Stops when any of these happens: the process is killed; the named event
// given with --stop-event is set; with --commands, the line "quit" or the end
// of standard input. Without --stop-event and --commands it runs until
// killed. Once its pipes listen it prints "ready <name>" on standard output
// and sets the --ready-event, if given. With --capture, the capture files are
// kept up to date every 20 ms, so they are usable after a kill too.
// Exit code: 0 after a stop, 1 when the device could not start, 2 on a bad
// command line. See kEmulatorUsage for the options.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "emulator/CaptureWriter.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorOptions.h"

namespace {
constexpr int kExitStartFailed = 1;
constexpr int kExitUsage = 2;
constexpr size_t kCommandLineBytes = 256;

void SignalReady(const EmulatorOptions& options) {
  std::printf("ready %s\n", options.config.name.c_str());
  std::fflush(stdout);
  if (options.readyEvent.empty()) return;
  UniqueHandle ready(::CreateEventA(nullptr, TRUE, FALSE, options.readyEvent.c_str()));
  ::SetEvent(ready.get());
}

void ReadCommands(DeviceEmulator& device) {
  char line[kCommandLineBytes];
  bool quit = false;
  while (!quit && std::fgets(line, sizeof line, stdin)) {
    if (!ApplyEmulatorCommand(line, device, quit)) {
      std::fprintf(stderr, "unknown command: %s", line);
    }
  }
}

void WaitForStop(const EmulatorOptions& options, DeviceEmulator& device) {
  if (options.commands) {
    ReadCommands(device);
    return;
  }
  if (!options.stopEvent.empty()) {
    UniqueHandle stop(::CreateEventA(nullptr, TRUE, FALSE, options.stopEvent.c_str()));
    ::WaitForSingleObject(stop.get(), INFINITE);
    return;
  }
  for (;;) ::Sleep(INFINITE);
}
}  // namespace

int main(int argc, char** argv) {
  EmulatorOptions options;
  std::string error;
  if (!ParseEmulatorOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "%s\n%s", error.c_str(), kEmulatorUsage);
    return kExitUsage;
  }
  if (options.help) {
    std::printf("%s", kEmulatorUsage);
    return 0;
  }
  DeviceEmulator device(options.config);
  if (!device.Start()) {
    std::fprintf(stderr, "device %s could not start\n", options.config.name.c_str());
    return kExitStartFailed;
  }
  std::unique_ptr<CaptureWriter> writer;
  if (!options.capturePath.empty()) {
    writer = std::make_unique<CaptureWriter>(device, options.capturePath);
  }
  SignalReady(options);
  WaitForStop(options, device);
  writer.reset();
  device.Stop();
  return 0;
}
