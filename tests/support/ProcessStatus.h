#pragma once
// What /proc/self/status says of this process.
#include <cstdint>
#include <string>

// A "Name:   1234 kB" line, in bytes; 0 when there is none.
uint64_t StatusBytes(const std::string& name);
