#pragma once
// Wall-clock timing for the benchmarks: on a shared machine the fastest of
// several runs is the one least disturbed by others; the worst tells what a
// user may meet.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

struct RunTimes {
  double fastest = 0;
  double worst = 0;
};

// The fastest and the worst of `runs` runs of `work` in milliseconds;
// `prepare` runs before each, outside the time.
inline RunTimes TimeRuns(const std::function<void()>& work, const std::function<void()>& prepare = {}, int runs = 7) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return {*std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end())};
}

inline double FastestMilliseconds(const std::function<void()>& work, const std::function<void()>& prepare = {},
                                  int runs = 7) {
  return TimeRuns(work, prepare, runs).fastest;
}

}  // namespace bench
