#include "bench/PresenceProbe.h"

#include "bench/Clock.h"
#include "device/DeviceLibrary.h"

Samples TimePresenceProbes(int count) {
  Samples samples;
  for (int i = 0; i < count; ++i) {
    const double started = bench::NowSeconds();
    DeviceLibrary library;
    if (!library.Load(DeviceLibrary::kOpenDev)) continue;
    UniqueHandle device(library.OpenDev());
    library.Free();
    device.reset();
    samples.Add(bench::NowSeconds() - started);
  }
  return samples;
}
