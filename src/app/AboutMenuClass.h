#pragma once
// The File menu's "About Vamor" item.
#include "platform/ui/MenuItem.h"

class AboutMenuClass : public AppleMenuItem {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  // Shows the About window; not modal.
  bool Event_Action() override;
};
