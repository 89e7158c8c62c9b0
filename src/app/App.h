#pragma once
// The application class: checks at start-up that QuickTime is installed.
#include "platform/ui/Application.h"

class App : public Application {
 public:
  static const ClassRecord* __Lookup();
  const ClassRecord* ClassInfo() const override { return __Lookup(); }
  void Event_Open() override;
};

extern const char* const kQuickTimeMessage;
