#include "AddressSpaceCap.h"

#include <gtest/gtest.h>

#include "ProcessStatus.h"

AddressSpaceCap::AddressSpaceCap(uint64_t headroom) {
  getrlimit(RLIMIT_AS, &saved_);
  rlimit cap = saved_;
  cap.rlim_cur = StatusBytes("VmSize") + headroom;
  EXPECT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
}

AddressSpaceCap::~AddressSpaceCap() { setrlimit(RLIMIT_AS, &saved_); }
