#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace docrecover::bench {

// Wall-clock time since construction; the steady clock is QueryPerformanceCounter on Windows.
class Stopwatch {
 public:
  double Milliseconds() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The median of a non-empty set of runs: one slow run (a build elsewhere on the machine) does not
// move it.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The shortest of a non-empty set of runs: what the work costs when nothing else slows it.
inline double Best(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

}  // namespace docrecover::bench
