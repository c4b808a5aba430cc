// QuelvoBench.exe: the update's speed against the pipe's own limit.
//
//   QuelvoBench.exe [--reps N] [--big-reps N] [--out results.md]
//
// Prints one summary line per figure and writes the table. Runs from
// build/bin, beside Quelvo.exe and the stand-ins; needs a display.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/MachineInfo.h"
#include "bench/UpdateBench.h"

namespace {
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr char kUsage[] = "usage: QuelvoBench [--reps N] [--big-reps N] [--out results.md]\n";

bool ParseOptions(int argc, char** argv, BenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--reps") == 0 && hasValue) {
      options.repetitions = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--big-reps") == 0 && hasValue) {
      options.bigRepetitions = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
      options.outputPath = argv[++i];
    } else {
      return false;
    }
  }
  return options.repetitions > 0 && options.bigRepetitions > 0;
}

int Fail(const char* figure) {
  std::fprintf(stderr, "bench failed at: %s\n", figure);
  return kExitFailed;
}
}  // namespace

int main(int argc, char** argv) {
  BenchOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "%s", kUsage);
    return kExitUsage;
  }
  ResultTable table;
  table.SetMachine(DescribeMachine());
  std::printf("machine: %s\n", DescribeMachine().c_str());
  std::fflush(stdout);

  UpdateBench bench(options, table);
  if (!bench.Prepare()) return Fail("start of the device or the program");
  if (!bench.RawLimit()) return Fail("1 raw limit");
  std::fflush(stdout);
  if (!bench.SenderThroughput()) return Fail("2 sender");
  std::fflush(stdout);
  if (!bench.WholeUpdate()) return Fail("3 whole update");
  std::fflush(stdout);
  if (!bench.DuringTransfer()) return Fail("4 responsiveness");
  std::fflush(stdout);
  if (!bench.IdleDialog()) return Fail("5 idle and paint");
  bench.PeakMemory();
  std::fflush(stdout);

  if (!options.outputPath.empty() && !table.Write(options.outputPath)) {
    std::fprintf(stderr, "cannot write %s\n", options.outputPath.c_str());
    return kExitFailed;
  }
  return 0;
}
