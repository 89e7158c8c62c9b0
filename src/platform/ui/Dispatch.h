#pragma once
// Inside the platform: every call from a Qt frame into the system goes
// through RuntimeDispatch. An exception ends the event loop and is kept for
// RuntimeRun_; it never crosses the Qt frame.
//
// A dispatched handler is the program at work: mouse, key and drop input that
// reaches the program meanwhile (when something processes events inside the
// handler) is dropped, and when a long stretch of work ends, the input the
// window system queued during it is fetched and dropped too, so that nothing
// the user did while the program was busy runs afterwards. A modal dialog is
// not work: it takes input as usual.
#include <exception>
#include <functional>

bool RuntimeExceptionPending();
// Runs the handler unless an exception is already pending.
void RuntimeDispatch(const std::function<void()>& handler);
// Runs a handler with a Boolean answer; false when it did not run.
bool RuntimeDispatchBool(const std::function<bool()>& handler);
// The pending exception, handed over once.
std::exception_ptr RuntimeTakePendingException();

// True while a handler runs, outside any modal dialog it shows: user input
// that arrives now is to be dropped.
bool RuntimeAtWork();

// Brackets a modal dialog shown by a handler: input queued during the work
// before it is dropped first, then the dialog takes input as usual.
class RuntimeModalScope {
 public:
  RuntimeModalScope();
  ~RuntimeModalScope();
  RuntimeModalScope(const RuntimeModalScope&) = delete;
  RuntimeModalScope& operator=(const RuntimeModalScope&) = delete;
};
