#pragma once
// DeviceEmulator.exe's command line and the run-time commands it reads from
// standard input with --commands.
#include <string>
#include <vector>

#include "emulator/DeviceEmulatorConfig.h"

class DeviceEmulator;

struct EmulatorOptions {
  DeviceEmulatorConfig config;
  std::string capturePath;  // empty: no capture files
  std::string readyEvent;   // empty: none
  std::string stopEvent;    // empty: none
  bool commands = false;    // read commands from standard input
  bool help = false;
};

// False with `error` set when the command line is not understood.
bool ParseEmulatorOptions(int argc, char** argv, EmulatorOptions& options, std::string& error);

// One command line such as "unplug" or "read-delay 50". Sets `quit` for
// "quit"; false for an unknown command.
bool ApplyEmulatorCommand(const std::string& line, DeviceEmulator& device, bool& quit);

// "54514C" -> {0x54, 0x51, 0x4C}; false for odd lengths or non-hex digits.
bool ParseHexBytes(const std::string& text, std::vector<unsigned char>& bytes);

extern const char kEmulatorUsage[];
