#pragma once
// Inside the platform: a control's response to a signal of its widget.
#include <QObject>

#include "platform/ui/Dispatch.h"
#include "platform/ui/Event.h"

// Calls respond(control, widget) each time the widget emits the signal, while
// the control lives; the connection holds the control weakly.
template <class Control, class Widget, class Signal, class Respond>
void OnSignal(Widget* widget, Signal signal, const Ref<Control>& control, Respond respond) {
  std::weak_ptr<Control> weak = control;
  QObject::connect(widget, signal, widget, [weak, widget, respond] {
    if (Ref<Control> target = weak.lock()) respond(target, *widget);
  });
}

// Raises the control's argument-free event each time the widget emits the
// signal.
template <class Control, class Widget, class Signal>
void RaiseOnSignal(Widget* widget, Signal signal, const Ref<Control>& control,
                   EventSlot<Control, void> Control::*event) {
  OnSignal(widget, signal, control, [event](const Ref<Control>& target, Widget&) {
    RuntimeDispatch([&] { ((*target).*event).Raise(target); });
  });
}
