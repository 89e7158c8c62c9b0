#pragma once
// The most memory the process has held since a point in a test.
#include <cstdint>

// Resets the process's peak to what it holds now when made.
class PeakMemory {
 public:
  PeakMemory();
  // How far the peak rose above what was held then.
  uint64_t Added() const;

 private:
  uint64_t base_;
};
