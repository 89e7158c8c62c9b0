#pragma once
// Inside the platform: every call from a Qt frame into the system goes
// through RuntimeDispatch. An exception ends the event loop and is kept for
// RuntimeRun_; it never crosses the Qt frame.
#include <exception>
#include <functional>

bool RuntimeExceptionPending();
// Runs the handler unless an exception is already pending.
void RuntimeDispatch(const std::function<void()>& handler);
// Runs a handler with a Boolean answer; false when it did not run.
bool RuntimeDispatchBool(const std::function<bool()>& handler);
// The pending exception, handed over once.
std::exception_ptr RuntimeTakePendingException();
