#pragma once
// Wall-clock timing for the benchmarks: on a shared machine the fastest of
// several runs is the one least disturbed by others.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

// The fastest of `runs` runs of `work` in milliseconds; `prepare` runs
// before each, outside the time.
inline double FastestMilliseconds(const std::function<void()>& work, const std::function<void()>& prepare = {},
                                  int runs = 7) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return *std::min_element(times.begin(), times.end());
}

}  // namespace bench
