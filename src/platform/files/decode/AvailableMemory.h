#pragma once
// Inside the platform: how much memory the process can still take.
#include <cstdint>

// The least of the memory the system has available, what the memory limits
// of the process's cgroup and of the cgroups above it leave, and what
// RLIMIT_AS and RLIMIT_DATA leave when they are set.
uint64_t AvailableMemory();
