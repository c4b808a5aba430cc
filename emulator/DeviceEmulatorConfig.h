#pragma once
// What an emulated device looks like when it starts. Every field can also be
// changed at run time through DeviceEmulator's methods.
#include <windows.h>

#include <string>
#include <vector>

struct DeviceEmulatorConfig {
  // Pipes are "\\.\pipe\<name>.dev|.PIPE00|.PIPE01"; the device library
  // takes the name from QUELVO_DEVICE.
  std::string name = "QuelvoDevice";

  // Sent on PIPE01 for each "!" written alone on PIPE00; empty: no reply.
  std::vector<unsigned char> reply = DefaultReply();

  // false: absent at start (open_dev fails) until Attach().
  bool present = true;
  // Non-zero: absent at start, attached by itself after this many ms.
  DWORD attachAfterMs = 0;

  // Non-zero: unplugged as soon as this many bytes have arrived on PIPE00
  // since start, counting every write ("!" and start commands included).
  unsigned long long unplugAfterBytes = 0;
  // Non-zero: stops reading PIPE00 as soon as this many bytes have arrived
  // (1: right after the "!", which is still answered).
  unsigned long long stallAfterBytes = 0;
  // Never read PIPE00 (until Resume).
  bool stalled = false;
  // Wait this long before each read of PIPE00.
  DWORD readDelayMs = 0;

  // PIPE00's buffer. A device started stalled, slow or with stallAfterBytes
  // gets the small one, so that host writes longer than it pend until the
  // device reads them; otherwise the large one, so that host writes complete
  // at once. The choice holds until an unplug (Wine keeps a pipe's first
  // buffer size while any instance lives). To stall or slow down a device at
  // run time with writes pending at once, start it with a small
  // pipeBufferBytes; with the large buffer, writes pend only once it is full.
  DWORD pipeBufferBytes = 4 * 1024 * 1024;
  // One byte: a lone "!" still goes through, anything longer waits.
  DWORD smallPipeBufferBytes = 1;

  // "T" and nine bytes "QUELVO-01".
  static std::vector<unsigned char> DefaultReply() {
    static const char kReply[] = "TQUELVO-01";
    return std::vector<unsigned char>(kReply, kReply + sizeof kReply - 1);
  }
};
