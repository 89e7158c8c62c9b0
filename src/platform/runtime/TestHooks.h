#pragma once
// The platform's test interface: switches that tests set to stand in for the
// user, the screen, the clock and the QuickTime component. Production code
// leaves every hook empty.
#include <cstdint>
#include <functional>
#include <string>

namespace TestHooks {
// Replaces Ticks() when set.
inline std::function<int32_t()> ticks;
// Receives one line for each traced framework step ("RuntimeInit",
// "RegisterClass App", "LookupPluginEntrypoint <text>", ...).
inline std::function<void(const std::string&)> trace;
// Replaces the size of Screen(0) when both are above 0.
inline int32_t screenWidth = 0;
inline int32_t screenHeight = 0;
// False makes the QuickTime status report "not installed".
inline bool quicktimeInstalled = true;
// Counts the calls of the background-task hook.
inline uint64_t backgroundTasks = 0;
// Replaces the memory that a decoded picture may take when above 0 (the
// fuzzer keeps pictures small with it).
inline uint64_t availableMemory = 0;
}  // namespace TestHooks

// Sends a line to TestHooks::trace when a test listens.
inline void RuntimeTrace(const std::string& line) {
  if (TestHooks::trace) TestHooks::trace(line);
}
