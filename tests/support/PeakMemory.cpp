#include "PeakMemory.h"

#include <fstream>

#include "ProcessStatus.h"

PeakMemory::PeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to what is held now
  base_ = StatusBytes("VmRSS");
}

uint64_t PeakMemory::Added() const { return StatusBytes("VmHWM") - base_; }
