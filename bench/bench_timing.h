#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace DL::Bench {

// Milliseconds on the monotonic clock, for timing a stretch by hand.
inline double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct TTiming {
  double bestMs;
  double medianMs;
};

// Runs the work the given number of times and keeps the best and the median
// wall-clock time.
template <class Work>
TTiming Measure(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(times.begin(), times.end());
  return TTiming{times.front(), times[times.size() / 2]};
}

inline double MegabytesPerSecond(std::size_t bytes, double ms) {
  return ms > 0 ? (bytes / 1048576.0) / (ms / 1000.0) : 0.0;
}

inline void Report(const char* name, std::size_t bytes, const TTiming& t) {
  std::printf("%-44s best %8.2f ms  median %8.2f ms  %8.1f MB/s\n", name, t.bestMs, t.medianMs,
              MegabytesPerSecond(bytes, t.bestMs));
}

}  // namespace DL::Bench
