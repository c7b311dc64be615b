#pragma once
// The line every benchmark prints for each of its ratios, after its table:
//   RATIO<TAB>what<TAB>value<TAB>goal
// scripts/bench gathers these lines over several runs and prints each
// ratio's goal, minimum and median.

#include <cstdio>

namespace corvesta::bench {

inline void PrintRatio(const char *what, double value, double goal) {
  std::printf("RATIO\t%s\t%.3f\t%.2f\n", what, value, goal);
  std::fflush(stdout);
}

} // namespace corvesta::bench
