#pragma once
// The benchmark's measuring tools: child processes timed as a whole, and the
// median, minimum and maximum of repeated runs.
#include <map>
#include <string>
#include <vector>

// Address space of every child process: far above what any job here needs,
// so that a runaway one stops before it takes the shared machine's memory.
inline constexpr long long kChildAddressSpace = 6LL << 30;

struct Run {
  double seconds = 0;  // wall time of the whole process
  double peakMB = 0;   // its peak resident memory
  bool ok = false;     // it exited with status 0
  std::string output;  // what it wrote to standard output
};

// Runs argv, with env added to this process's environment, in a child process
// capped at kChildAddressSpace; its standard error is discarded.
Run RunProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {});

// The "name value" lines of a child's output.
std::map<std::string, double> ValuesOf(const std::string& output);

struct Spread {
  double median = 0, min = 0, max = 0;
};
Spread SpreadOf(std::vector<double> values);
// "median (min - max)", each figure printed with format.
std::string Show(const Spread& spread, const char* format = "%.2f");
