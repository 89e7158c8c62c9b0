#pragma once
// The File menu's "About Vamor" item.
#include "platform/ui/MenuItem.h"

class AboutMenuClass : public AppleMenuItem {
 public:
  static const ClassRecord* __Lookup();
  const ClassRecord* ClassInfo() const override { return __Lookup(); }
  // Shows the About window; not modal.
  bool Event_Action() override;
};
