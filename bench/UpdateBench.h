#pragma once
// The figures of the benchmark, in the order they are reported. Every run of
// the program uses one emulated device in this process and one private copy
// of Quelvo.exe; each figure prints its summary line and adds its rows.
#include <string>

#include "bench/ResultTable.h"
#include "bench/Samples.h"
#include "emulator/DeviceEmulator.h"
#include "tests/uidriver/AppFolder.h"

struct BenchOptions {
  int repetitions = 5;     // of every short measurement
  int bigRepetitions = 3;  // of runs with the 64 MiB image
  std::string outputPath;  // the Markdown table; empty: none
  std::string program;     // another Quelvo.exe to measure; empty: build/bin's
};

class UpdateBench {
 public:
  UpdateBench(const BenchOptions& options, ResultTable& table);

  // The device listens, the program copy is ready and has shown its dialog once.
  bool Prepare();

  bool RawLimit();          // 1
  bool SenderThroughput();  // 2
  bool WholeUpdate();       // 3
  bool DuringTransfer();    // 4, and the samples of 6
  bool IdleDialog();        // 5
  void PeakMemory();        // 6

 private:
  // The raw limit for the same payload, measured again right before a run,
  // so that a ratio compares two figures taken under the same load of the
  // machine.
  double PairedRawRate(DWORD payloadBytes);

  BenchOptions m_options;
  ResultTable& m_table;
  DeviceEmulatorConfig m_config;
  DeviceEmulator m_device;
  uidriver::AppFolder m_program;
  double m_rawBytesPerSecond = 0;
  // Figure 6, gathered during the runs of figure 4.
  Samples m_peakPrivate;
  Samples m_privateGrowth;
  double m_imageBytes = 0;
};
