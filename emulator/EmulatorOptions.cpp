#include "emulator/EmulatorOptions.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "emulator/DeviceEmulator.h"
#include "emulator/DevicePipeNames.h"

const char kEmulatorUsage[] =
    "DeviceEmulator [options]\n"
    "  --name NAME          device name (default: QUELVO_DEVICE, else QuelvoDevice)\n"
    "  --reply HEX          identification reply bytes, e.g. 54303132 (default \"TQUELVO-01\")\n"
    "  --no-reply           never answer \"!\"\n"
    "  --absent             start unplugged\n"
    "  --attach-after MS    start unplugged, attach after MS milliseconds\n"
    "  --unplug-after N     unplug once N bytes have arrived on PIPE00\n"
    "  --stall              never read PIPE00\n"
    "  --stall-after N      stop reading PIPE00 once N bytes have arrived\n"
    "  --read-delay MS      wait MS milliseconds before each read of PIPE00\n"
    "  --buffer N           PIPE00 buffer in normal mode (bytes)\n"
    "  --small-buffer N     PIPE00 buffer when slow or stalled (bytes)\n"
    "  --capture PATH       host writes to PATH (raw), their sizes to PATH.sizes (one per\n"
    "                       line), counters to PATH.state (key=value lines)\n"
    "  --ready-event NAME   set this named event once the pipes listen\n"
    "  --stop-event NAME    stop when this named event is set\n"
    "  --commands           read commands from standard input, one per line:\n"
    "                       unplug | attach | stall | resume | read-delay MS |\n"
    "                       unplug-after N | stall-after N | reply HEX | reply none | quit;\n"
    "                       end of input stops too\n";

namespace {
constexpr int kDecimalBase = 10;
constexpr int kBitsPerHexDigit = 4;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + kDecimalBase;
  if (c >= 'A' && c <= 'F') return c - 'A' + kDecimalBase;
  return -1;
}

bool ParseNumber(const std::string& text, unsigned long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, kDecimalBase);
  return *end == '\0';
}

bool ParseMs(const std::string& text, DWORD& value) {
  unsigned long long number = 0;
  if (!ParseNumber(text, number) || number > MAXDWORD) return false;
  value = static_cast<DWORD>(number);
  return true;
}

// Options that take a value; false when it is missing or malformed.
bool ParseValueOption(const std::string& option, const std::string& value,
                      EmulatorOptions& options) {
  DeviceEmulatorConfig& config = options.config;
  if (option == "--name") return !(config.name = value).empty();
  if (option == "--reply") return ParseHexBytes(value, config.reply) && !config.reply.empty();
  if (option == "--attach-after") return ParseMs(value, config.attachAfterMs);
  if (option == "--unplug-after") return ParseNumber(value, config.unplugAfterBytes);
  if (option == "--stall-after") return ParseNumber(value, config.stallAfterBytes);
  if (option == "--read-delay") return ParseMs(value, config.readDelayMs);
  if (option == "--buffer") return ParseMs(value, config.pipeBufferBytes);
  if (option == "--small-buffer") return ParseMs(value, config.smallPipeBufferBytes);
  if (option == "--capture") return !(options.capturePath = value).empty();
  if (option == "--ready-event") return !(options.readyEvent = value).empty();
  if (option == "--stop-event") return !(options.stopEvent = value).empty();
  return false;
}

bool ParseFlagOption(const std::string& option, EmulatorOptions& options) {
  if (option == "--no-reply") {
    options.config.reply.clear();
  } else if (option == "--absent") {
    options.config.present = false;
  } else if (option == "--stall") {
    options.config.stalled = true;
  } else if (option == "--commands") {
    options.commands = true;
  } else if (option == "--help" || option == "-h") {
    options.help = true;
  } else {
    return false;
  }
  return true;
}
}  // namespace

bool ParseHexBytes(const std::string& text, std::vector<unsigned char>& bytes) {
  if (text.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t index = 0; index < text.size(); index += 2) {
    int high = HexDigit(text[index]);
    int low = HexDigit(text[index + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<unsigned char>((high << kBitsPerHexDigit) | low));
  }
  return true;
}

bool ParseEmulatorOptions(int argc, char** argv, EmulatorOptions& options, std::string& error) {
  options.config.name = CurrentDeviceName();
  for (int index = 1; index < argc; ++index) {
    std::string option = argv[index];
    if (ParseFlagOption(option, options)) continue;
    if (index + 1 < argc && ParseValueOption(option, argv[index + 1], options)) {
      ++index;
      continue;
    }
    error = "bad option or value: " + option;
    return false;
  }
  return true;
}

bool ApplyEmulatorCommand(const std::string& line, DeviceEmulator& device, bool& quit) {
  std::istringstream words(line);
  std::string command, argument;
  words >> command >> argument;
  unsigned long long number = 0;
  DWORD ms = 0;
  std::vector<unsigned char> reply;
  if (command == "quit") {
    quit = true;
  } else if (command == "unplug") {
    device.Unplug();
  } else if (command == "attach") {
    device.Attach();
  } else if (command == "stall") {
    device.Stall();
  } else if (command == "resume") {
    device.Resume();
  } else if (command == "read-delay" && ParseMs(argument, ms)) {
    device.SetReadDelay(ms);
  } else if (command == "unplug-after" && ParseNumber(argument, number)) {
    device.UnplugAfterBytes(number);
  } else if (command == "stall-after" && ParseNumber(argument, number)) {
    device.StallAfterBytes(number);
  } else if (command == "reply" && argument == "none") {
    device.SetReply({});
  } else if (command == "reply" && ParseHexBytes(argument, reply) && !reply.empty()) {
    device.SetReply(reply);
  } else {
    return command.empty();
  }
  return true;
}
