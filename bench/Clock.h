#pragma once
// The bench's one time base: the performance counter, in seconds.
namespace bench {

double NowSeconds();

constexpr double kMicrosecondsPerSecond = 1e6;
constexpr double kMillisecondsPerSecond = 1e3;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;

}  // namespace bench
