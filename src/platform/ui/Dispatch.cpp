#include "platform/ui/Dispatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <chrono>
#include <vector>

namespace {
std::exception_ptr pending;

using Clock = std::chrono::steady_clock;
// Work shorter than this is no wait for the user: keys typed meanwhile (the
// next digit of a tile size) are kept.
constexpr auto kLongWork = std::chrono::milliseconds(100);

struct Stretch {
  bool working;             // a handler runs; false: a modal dialog
  Clock::time_point since;  // when the handler started or its last dialog ended
};
std::vector<Stretch> stretches;  // the innermost last

// At the end of a long stretch of work, still at work: the window system is
// synced with, so that all it queued during the work arrives, and what has
// arrived is handled, the input among it dropped.
void DropInputQueuedDuringLongWork() {
  if (pending || !RuntimeAtWork() || Clock::now() - stretches.back().since < kLongWork) return;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::sync();
}
}  // namespace

bool RuntimeExceptionPending() { return static_cast<bool>(pending); }

bool RuntimeAtWork() { return !stretches.empty() && stretches.back().working; }

void RuntimeDispatch(const std::function<void()>& handler) {
  RuntimeDispatchBool([&] {
    handler();
    return false;
  });
}

bool RuntimeDispatchBool(const std::function<bool()>& handler) {
  if (pending) return false;
  const bool starts = !RuntimeAtWork();
  if (starts) stretches.push_back({true, Clock::now()});
  bool answer = false;
  try {
    answer = handler();
  } catch (...) {
    pending = std::current_exception();
    QCoreApplication::exit(1);
  }
  if (starts) {
    DropInputQueuedDuringLongWork();
    stretches.pop_back();
  }
  return answer;
}

std::exception_ptr RuntimeTakePendingException() { return std::exchange(pending, nullptr); }

RuntimeModalScope::RuntimeModalScope() {
  DropInputQueuedDuringLongWork();
  stretches.push_back({false, Clock::now()});
}

RuntimeModalScope::~RuntimeModalScope() {
  stretches.pop_back();
  if (RuntimeAtWork()) stretches.back().since = Clock::now();
}
