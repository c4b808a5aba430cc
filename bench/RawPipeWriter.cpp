#include "bench/RawPipeWriter.h"

#include <string>
#include <vector>

#include "bench/Clock.h"
#include "bench/DeviceWatch.h"
#include "device/DeviceLibrary.h"
#include "emulator/DeviceEmulator.h"

namespace {
constexpr DWORD kChunkBytes = 2048;
constexpr DWORD kStartCommandBytes = 20;
constexpr unsigned char kFill = 0x5A;
constexpr DWORD kChildExitLimitMs = 10000;

// The record has no event, as the sender's has none: with one write in
// flight, waiting on the pipe handle itself is sound, and it spares the
// event's reset and signal on every write.
bool WriteAndWait(HANDLE pipe, const unsigned char* data, DWORD length) {
  DWORD written = 0;
  OVERLAPPED record = {};
  if (::WriteFile(pipe, data, length, &written, &record)) return true;
  if (::GetLastError() != ERROR_IO_PENDING) return false;
  return ::GetOverlappedResult(pipe, &record, &written, TRUE) != FALSE;
}

std::string OwnPath() {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}
}  // namespace

bool RawPipeWriter::WriteImage(DWORD payloadBytes) {
  bool loaded = false;
  UniqueHandle pipe(OpenPipeOnce(kPipeOut, loaded));
  if (!pipe) return false;
  const std::vector<unsigned char> chunk(kChunkBytes, kFill);
  if (!WriteAndWait(pipe.get(), chunk.data(), kStartCommandBytes)) return false;
  for (DWORD sent = 0; sent < payloadBytes;) {
    const DWORD length = payloadBytes - sent < kChunkBytes ? payloadBytes - sent : kChunkBytes;
    if (!WriteAndWait(pipe.get(), chunk.data(), length)) return false;
    sent += length;
  }
  return true;
}

double RawPipeWriter::SendFromThisProcess(DWORD payloadBytes) {
  m_device.ClearCapture();
  const double started = bench::NowSeconds();
  if (!WriteImage(payloadBytes)) return -1;
  const double arrived = DeviceWatch(m_device).WaitForBytes(kStartCommandBytes + payloadBytes);
  return arrived < 0 ? -1 : arrived - started;
}

double RawPipeWriter::SendFromChild(DWORD payloadBytes) {
  m_device.ClearCapture();
  std::string commandLine =
      "\"" + OwnPath() + "\" " + kChildSwitch + " " + std::to_string(payloadBytes);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  // The child inherits our environment, and with it the device's name.
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return -1;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  DeviceWatch watch(m_device);
  // From the start command on: the child's own start-up is not the pipe's.
  const double started = watch.WaitForBytes(kStartCommandBytes);
  const double arrived = started < 0 ? -1 : watch.WaitForBytes(kStartCommandBytes + payloadBytes);
  if (::WaitForSingleObject(process.get(), kChildExitLimitMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
    return -1;
  }
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.get(), &exitCode);
  return arrived < 0 || exitCode != 0 ? -1 : arrived - started;
}
