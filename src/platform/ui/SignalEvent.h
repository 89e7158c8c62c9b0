#pragma once
// Inside the platform: a control's event raised by a signal of its widget.
#include <QObject>

#include "platform/ui/Dispatch.h"
#include "platform/ui/Event.h"

// Raises the control's argument-free event each time the widget emits the
// signal; the connection holds the control weakly.
template <class Control, class Widget, class Signal>
void RaiseOnSignal(Widget* widget, Signal signal, const Ref<Control>& control,
                   EventSlot<Control, void> Control::*event) {
  std::weak_ptr<Control> weak = control;
  QObject::connect(widget, signal, widget, [weak, event] {
    if (Ref<Control> target = weak.lock()) RuntimeDispatch([&] { ((*target).*event).Raise(target); });
  });
}
