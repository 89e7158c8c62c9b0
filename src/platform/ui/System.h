#pragma once
// The system objects: cursors, keyboard, screens, QuickTime status.
#include <cstdint>
#include <string>

#include "platform/quicktime/QTGraphicsExporter.h"
#include "platform/runtime/Object.h"

class MouseCursor : public Object {
 public:
  explicit MouseCursor(std::string name) : name_(std::move(name)) {}
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

struct Cursors_ {
  Ref<MouseCursor> Wait() const;
  Ref<MouseCursor> StandardPointer() const;
};

struct SystemClass_ {
  QuicktimeInstallStatus_ Quicktime() const { return {}; }
  Cursors_ Cursors() const { return {}; }
};
const SystemClass_& System();

class Keyboard_ : public Object {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  // True while the menu-shortcut modifier (Ctrl; Command on macOS) is held.
  bool AsyncMenuShortcutKey() const;
  // True while the key of that virtual key code is held; code 0 is the key at
  // the position of A.
  bool AsyncKeyDown(int32_t keyCode) const;
};
Ref<Keyboard_> Keyboard();

class Screen : public Object {
 public:
  Screen(int32_t left, int32_t top, int32_t width, int32_t height)
      : left_(left), top_(top), width_(width), height_(height) {}
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  int32_t left_, top_, width_, height_;
};
// Screen 0 is the main screen; Nil for an index past the last screen. Left and
// Top place the screen on the desktop: the main screen need not be at (0, 0).
Ref<class Screen> Screen(int32_t index);
