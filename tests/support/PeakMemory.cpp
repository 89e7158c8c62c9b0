#include "PeakMemory.h"

#include <fstream>

uint64_t StatusBytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string key;
  uint64_t kilobytes = 0;
  while (status >> key) {
    if (key == name + ":" && status >> kilobytes) return kilobytes * 1024;
    status.ignore(1 << 20, '\n');
  }
  return 0;
}

PeakMemory::PeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to what is held now
  base_ = StatusBytes("VmRSS");
}

uint64_t PeakMemory::Added() const { return StatusBytes("VmHWM") - base_; }
