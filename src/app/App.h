#pragma once
// The application class: checks at start-up that QuickTime is installed.
#include "platform/ui/Application.h"

class App : public Application {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Event_Open() override;
};

extern const char* const kQuickTimeMessage;
