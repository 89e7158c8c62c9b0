#pragma once
// Caps the process's address space at what it has now plus headroom, so that
// a picture larger than that does not fit; lifted again when it goes.
#include <sys/resource.h>

#include <cstdint>

class AddressSpaceCap {
 public:
  explicit AddressSpaceCap(uint64_t headroom);
  ~AddressSpaceCap();
  AddressSpaceCap(const AddressSpaceCap&) = delete;
  AddressSpaceCap& operator=(const AddressSpaceCap&) = delete;

 private:
  rlimit saved_;
};
