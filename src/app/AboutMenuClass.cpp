#include "app/AboutMenuClass.h"

#include "ui/About.h"

const ClassRecord* AboutMenuClass::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "AboutMenuClass",
      .superclass = &AppleMenuItem::Lookup_,
      .ownOperations = {"Event_Action"},
      .members = {{"Event_Action", "%b%", {{"__Scope", "Public"}}}},
      .handledEvents = {"Action"},
  });
  return record;
}

bool AboutMenuClass::Event_Action() {
  NotNil(About())->Show();
  return false;
}
