#include "platform/ui/InputWatcher.h"

#include <QDropEvent>
#include <QKeyEvent>

#include "platform/ui/Dispatch.h"
#include "platform/ui/KeyboardState.h"
#include "platform/ui/MenuItem.h"

namespace {
// What the user does with mouse, keyboard, pen or touch, a drop included.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// The keyboard object tells the keys as they are, dropped or not.
void TrackKeys(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      KeyboardState::Modifiers(static_cast<QKeyEvent*>(event)->modifiers());
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      KeyboardState::Modifiers(key->modifiers());
      if (!key->isAutoRepeat()) KeyboardState::Key(key->key(), event->type() == QEvent::KeyPress);
      break;
    }
    case QEvent::ApplicationDeactivate:
      KeyboardState::Clear();
      break;
    default:
      break;
  }
}
}  // namespace

bool InputWatcher::eventFilter(QObject* watched, QEvent* event) {
  TrackKeys(event);
  if (IsUserInput(event->type()) && RuntimeAtWork()) {
    // Dropped: a shortcut counts as overridden (so it does not fire), a drop
    // as refused (so its source keeps its data).
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    else event->ignore();
    return true;
  }
  if (event->type() == QEvent::ShortcutOverride) RuntimeDispatch(RuntimeEnableMenuItems);
  return QObject::eventFilter(watched, event);
}
