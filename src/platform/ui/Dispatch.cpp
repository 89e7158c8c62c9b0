#include "platform/ui/Dispatch.h"

#include <QCoreApplication>

namespace {
std::exception_ptr pending;
}

bool RuntimeExceptionPending() { return static_cast<bool>(pending); }

void RuntimeDispatch(const std::function<void()>& handler) {
  RuntimeDispatchBool([&] {
    handler();
    return false;
  });
}

bool RuntimeDispatchBool(const std::function<bool()>& handler) {
  if (pending) return false;
  try {
    return handler();
  } catch (...) {
    pending = std::current_exception();
    QCoreApplication::exit(1);
    return false;
  }
}

std::exception_ptr RuntimeTakePendingException() { return std::exchange(pending, nullptr); }
