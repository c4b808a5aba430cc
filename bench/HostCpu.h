#pragma once
// The whole machine's busy processor time, from the host's /proc/stat as
// Wine shows it on drive Z:. It counts every process, the wineserver too,
// which does the pipe and message work of Wine programs. Not available on
// Windows.
class HostCpu {
 public:
  // Busy seconds of all cores so far; negative when unreadable.
  static double BusySeconds();
};
