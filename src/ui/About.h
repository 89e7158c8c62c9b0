#pragma once
// The About window: the name in large bold type, the maker and version below.
#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

class About : public Window {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Layout() override;
  void CreateControls() override;
  void CreateControls0_();
  Ref<StaticText> StaticText1() const;
  Ref<StaticText> StaticText2() const;
  // Centres the window on the main screen.
  void Event_Open() override;
};

// The implicit instance: the open About window, built when none is.
Ref<class About> About();
