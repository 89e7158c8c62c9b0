#pragma once
// The one menu bar, shared by the application and the main window.
#include "platform/ui/MenuItem.h"

class MenuBar1 : public MenuBar {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor();
  void Untitled0();
};

namespace MenuBar1Module {
inline Ref<MenuBar1> _implicitInstance;
}

// The implicit instance, built at the first reference.
Ref<class MenuBar1> MenuBar1();
