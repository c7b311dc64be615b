#pragma once
// The line every benchmark prints for each of its ratios, after its table:
//   RATIO<TAB>what<TAB>value<TAB>goal
// scripts/bench gathers these lines over several runs and prints each
// ratio's goal, minimum and median.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace corvesta::bench {

// The middle value (the upper of the two middle ones for an even count).
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

inline void PrintRatio(const char *what, double value, double goal) {
  std::printf("RATIO\t%s\t%.3f\t%.2f\n", what, value, goal);
  std::fflush(stdout);
}

// Keeps the console table as usual and prints the ratio line of one counter
// after it (nothing when no run reported the counter).
class RatioReporter : public benchmark::ConsoleReporter {
public:
  RatioReporter(std::string counter, const char *what, double goal)
      : m_counter(std::move(counter)), m_what(what), m_goal(goal) {}

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      auto ratio = run.counters.find(m_counter);
      if (!run.error_occurred && ratio != run.counters.end()) {
        m_ratio = ratio->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (m_ratio > 0) {
      PrintRatio(m_what, m_ratio, m_goal);
    }
  }

private:
  std::string m_counter;
  const char *m_what;
  double m_goal;
  double m_ratio = 0;
};

// A benchmark program's main: every registered benchmark, then the ratio line.
inline int RunWithRatio(int argc, char **argv, const char *counter, const char *what, double goal) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  RatioReporter reporter(counter, what, goal);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

} // namespace corvesta::bench
