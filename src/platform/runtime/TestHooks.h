#pragma once
// The platform's test interface: switches that tests set to stand in for the
// user, the screen, the clock and the QuickTime component. Production code
// leaves every hook empty.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace TestHooks {
// Replaces the monotonic clock that Ticks() counts (time since a fixed start)
// when set.
inline std::function<std::chrono::steady_clock::duration()> monotonicClock;
// Receives one line for each traced framework step ("RuntimeInit",
// "RegisterClass App", "LookupPluginEntrypoint <text>", ...).
inline std::function<void(const std::string&)> trace;
// Replace Screen(0) when the width and height are both above 0: its size
// and, with them, the place of its top-left corner on the desktop.
inline int32_t screenWidth = 0;
inline int32_t screenHeight = 0;
inline int32_t screenLeft = 0;
inline int32_t screenTop = 0;
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
