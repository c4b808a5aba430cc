// QuelvoBench.exe: the update's speed against the pipe's own limit.
//
//   QuelvoBench.exe [--reps N] [--big-reps N] [--out results.md]
//                   [--only FIGURES] [--program Quelvo.exe]
//
// Prints one summary line per figure and writes the table. Runs from
// build/bin, beside Quelvo.exe and the stand-ins; needs a display.
// --only runs some figures (digits, "24": figures 2 and 4; 6 comes with 4);
// --program measures another build of the program, for before and after.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/MachineInfo.h"
#include "bench/RawPipeWriter.h"
#include "bench/UpdateBench.h"

namespace {
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr char kUsage[] =
    "usage: QuelvoBench [--reps N] [--big-reps N] [--out results.md] [--only FIGURES]\n"
    "                   [--program Quelvo.exe]\n";
constexpr char kAllFigures[] = "12345";

bool ParseOptions(int argc, char** argv, BenchOptions& options, std::string& figures) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--reps") == 0 && hasValue) {
      options.repetitions = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--big-reps") == 0 && hasValue) {
      options.bigRepetitions = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
      options.outputPath = argv[++i];
    } else if (std::strcmp(argv[i], "--only") == 0 && hasValue) {
      figures = argv[++i];
    } else if (std::strcmp(argv[i], "--program") == 0 && hasValue) {
      options.program = argv[++i];
    } else {
      return false;
    }
  }
  return options.repetitions > 0 && options.bigRepetitions > 0;
}

bool Wanted(const std::string& figures, char figure) {
  return figures.find(figure) != std::string::npos;
}

int Fail(const char* figure) {
  std::fprintf(stderr, "bench failed at: %s\n", figure);
  return kExitFailed;
}
}  // namespace

int main(int argc, char** argv) {
  // Started again by the raw limit's figure, to write from a process of its own.
  if (argc == 3 && std::strcmp(argv[1], RawPipeWriter::kChildSwitch) == 0) {
    return RawPipeWriter::WriteImage(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)))
               ? 0
               : kExitFailed;
  }
  BenchOptions options;
  std::string figures = kAllFigures;
  if (!ParseOptions(argc, argv, options, figures)) {
    std::fprintf(stderr, "%s", kUsage);
    return kExitUsage;
  }
  ResultTable table;
  table.SetMachine(DescribeMachine());
  std::printf("machine: %s\n", DescribeMachine().c_str());
  std::fflush(stdout);

  UpdateBench bench(options, table);
  if (!bench.Prepare()) return Fail("start of the device or the program");
  // The raw limit is measured in any case: the others are compared to it.
  if (!bench.RawLimit()) return Fail("1 raw limit");
  std::fflush(stdout);
  if (Wanted(figures, '2') && !bench.SenderThroughput()) return Fail("2 sender");
  std::fflush(stdout);
  if (Wanted(figures, '3') && !bench.WholeUpdate()) return Fail("3 whole update");
  std::fflush(stdout);
  if (Wanted(figures, '4') && !bench.DuringTransfer()) return Fail("4 responsiveness");
  std::fflush(stdout);
  if (Wanted(figures, '5') && !bench.IdleDialog()) return Fail("5 idle and paint");
  if (Wanted(figures, '4')) bench.PeakMemory();
  std::fflush(stdout);

  if (!options.outputPath.empty() && !table.Write(options.outputPath)) {
    std::fprintf(stderr, "cannot write %s\n", options.outputPath.c_str());
    return kExitFailed;
  }
  return 0;
}
