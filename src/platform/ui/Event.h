#pragma once
// Event bindings: a control's event calls a method of its window, which the
// binding holds weakly, with the control as the first argument.
#include <functional>
#include <memory>

#include "platform/runtime/Object.h"

template <class Sender, class R, class... Args>
class EventSlot {
 public:
  using Handler = std::function<R(const Ref<Sender>&, Args...)>;
  void Attach(Handler handler) { handler_ = std::move(handler); }
  bool Attached() const { return static_cast<bool>(handler_); }
  R Raise(const Ref<Sender>& sender, Args... args) const {
    if (!handler_) return R();
    return handler_(sender, args...);
  }

 private:
  Handler handler_;
};

// A binding of a window's handler method that holds the window weakly: once
// the window is gone the binding does nothing.
template <class W, class Sender, class R, class... Args>
std::function<R(const Ref<Sender>&, Args...)> RuntimeCreateDelegate(
    const Ref<W>& window, R (W::*method)(const Ref<Sender>&, Args...)) {
  std::weak_ptr<W> weak = window;
  return [weak, method](const Ref<Sender>& sender, Args... args) -> R {
    Ref<W> target = weak.lock();
    if (!target) return R();
    return ((*target).*method)(sender, args...);
  };
}

template <class Sender, class R, class... Args, class Handler>
void RuntimeAddEventHandler(EventSlot<Sender, R, Args...>& event, Handler binding) {
  event.Attach(std::move(binding));
}
