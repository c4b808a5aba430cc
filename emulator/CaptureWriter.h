#pragma once
// Keeps DeviceEmulator.exe's capture files up to date while it runs, so that
// they hold what arrived up to a moment ago even when the process is killed:
//   <path>        every byte written to PIPE00, in order
//   <path>.sizes  the size of each write, one decimal number per line
//   <path>.state  counters as key=value lines (see WriteState)
#include <string>
#include <thread>

#include "framework/UniqueResource.h"

class DeviceEmulator;

class CaptureWriter {
 public:
  CaptureWriter(const DeviceEmulator& device, const std::string& path);
  // Writes what is left and stops.
  ~CaptureWriter();
  CaptureWriter(const CaptureWriter&) = delete;
  CaptureWriter& operator=(const CaptureWriter&) = delete;

 private:
  void Run();
  void Flush();
  void WriteState();

  const DeviceEmulator& m_device;
  std::string m_statePath;
  UniqueHandle m_bytesFile;
  UniqueHandle m_sizesFile;
  size_t m_nextWrite = 0;
  std::string m_lastState;
  UniqueHandle m_stop;
  std::thread m_thread;
};
