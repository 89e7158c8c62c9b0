#include "platform/ui/System.h"

#include <QGuiApplication>
#include <QScreen>
#include <set>

#include "platform/runtime/TestHooks.h"
#include "platform/ui/KeyboardState.h"

namespace {
Qt::KeyboardModifiers heldModifiers;
std::set<int> heldKeys;
}  // namespace

void KeyboardState::Modifiers(Qt::KeyboardModifiers modifiers) { heldModifiers = modifiers; }
void KeyboardState::Key(int key, bool down) {
  if (down) heldKeys.insert(key);
  else heldKeys.erase(key);
}
void KeyboardState::Clear() {
  heldModifiers = Qt::NoModifier;
  heldKeys.clear();
}
Qt::KeyboardModifiers KeyboardState::HeldModifiers() { return heldModifiers; }
bool KeyboardState::Held(int key) { return heldKeys.count(key) > 0; }

const ClassRecord* MouseCursor::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "MouseCursor", .superclass = &Object::Lookup_});
  return record;
}

Ref<MouseCursor> Cursors_::Wait() const {
  static const Ref<MouseCursor> cursor = std::make_shared<MouseCursor>("Wait");
  return cursor;
}

Ref<MouseCursor> Cursors_::StandardPointer() const {
  static const Ref<MouseCursor> cursor = std::make_shared<MouseCursor>("StandardPointer");
  return cursor;
}

const SystemClass_& System() {
  static const SystemClass_ system;
  return system;
}

const ClassRecord* Keyboard_::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "_Keyboard", .superclass = &Object::Lookup_});
  return record;
}

// Qt reports Command as the Control modifier on macOS.
bool Keyboard_::AsyncMenuShortcutKey() const {
  return KeyboardState::HeldModifiers().testFlag(Qt::ControlModifier);
}

// Virtual key codes of the ANSI layout, by key position; the letter keys
// stand for their positions.
bool Keyboard_::AsyncKeyDown(int32_t keyCode) const {
  static const int kByCode[] = {Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_H,
                                Qt::Key_G, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V};
  if (keyCode < 0 || keyCode >= int32_t(std::size(kByCode))) return false;
  return KeyboardState::Held(kByCode[keyCode]);
}

Ref<Keyboard_> Keyboard() {
  static const Ref<Keyboard_> keyboard = std::make_shared<Keyboard_>();
  return keyboard;
}

const ClassRecord* Screen::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Screen", .superclass = &Object::Lookup_});
  return record;
}

Ref<class Screen> Screen(int32_t index) {
  if (index == 0 && TestHooks::screenWidth > 0 && TestHooks::screenHeight > 0)
    return std::make_shared<class Screen>(TestHooks::screenLeft, TestHooks::screenTop, TestHooks::screenWidth,
                                          TestHooks::screenHeight);
  QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* screen = index == 0 ? QGuiApplication::primaryScreen()
                    : index > 0 && index < screens.size() ? screens[index]
                                                          : nullptr;
  if (!screen) return nullptr;
  QRect g = screen->geometry();
  return std::make_shared<class Screen>(g.x(), g.y(), g.width(), g.height());
}
