#include "bench/RawPipeWriter.h"

#include <vector>

#include "bench/Clock.h"
#include "bench/DeviceWatch.h"
#include "device/DeviceLibrary.h"
#include "emulator/DeviceEmulator.h"

namespace {
constexpr DWORD kChunkBytes = 2048;
constexpr DWORD kStartCommandBytes = 20;

// The record has no event, as the sender's has none: with one write in
// flight, waiting on the pipe handle itself is sound, and it spares the
// event's reset and signal on every write.
bool WriteAndWait(HANDLE pipe, OVERLAPPED& record, const unsigned char* data, DWORD length) {
  DWORD written = 0;
  record = OVERLAPPED{};
  if (::WriteFile(pipe, data, length, &written, &record)) return true;
  if (::GetLastError() != ERROR_IO_PENDING) return false;
  return ::GetOverlappedResult(pipe, &record, &written, TRUE) != FALSE;
}
}  // namespace

double RawPipeWriter::Send(DWORD payloadBytes) {
  bool loaded = false;
  UniqueHandle pipe(OpenPipeOnce(kPipeOut, loaded));
  if (!pipe) return -1;
  OVERLAPPED record = {};
  std::vector<unsigned char> chunk(kChunkBytes, 0x5A);

  m_device.ClearCapture();
  const double started = bench::NowSeconds();
  if (!WriteAndWait(pipe.get(), record, chunk.data(), kStartCommandBytes)) return -1;
  for (DWORD sent = 0; sent < payloadBytes;) {
    const DWORD length = payloadBytes - sent < kChunkBytes ? payloadBytes - sent : kChunkBytes;
    if (!WriteAndWait(pipe.get(), record, chunk.data(), length)) return -1;
    sent += length;
  }
  const double arrived = DeviceWatch(m_device).WaitForBytes(kStartCommandBytes + payloadBytes);
  return arrived < 0 ? -1 : arrived - started;
}
