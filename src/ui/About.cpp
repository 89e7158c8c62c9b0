#include "ui/About.h"

#include "ui/CentreOnMainScreen.h"
#include "ui/AboutPropertyLists.h"

const ClassRecord* About::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "About.About",
      .superclass = &Window::Lookup_,
      .ownOperations = {"Layout", "CreateControls", "_CreateControls0", "StaticText1", "StaticText2",
                        "Event_Open"},
      .members = {{"Layout", "%%", {{"__Scope", "Public"}}},
                  {"CreateControls", "%%", {{"__Scope", "Public"}}},
                  {"_CreateControls0", "%%", {{"__Scope", "Public"}, {"Hidden", ""}}},
                  {"StaticText1", "%o<StaticText>%", {{"__Scope", "Public"}}},
                  {"StaticText2", "%o<StaticText>%", {{"__Scope", "Public"}}},
                  {"Event_Open", "%%", {{"__Scope", "Public"}}}},
      .handledEvents = {"Layout", "CreateControls", "Open"},
  });
  return record;
}

Ref<class About> About() { return RuntimeImplicitWindow<class About>(); }

void About::Layout() { SetProperties_(*this, AboutPropertyLists::About()); }

void About::CreateControls() { CreateControls0_(); }

void About::CreateControls0_() {
  AddControl_("StaticText1", New_<StaticText>());
  StaticText1()->TextSize(24.0f);
  SetProperties_(*StaticText1(), AboutPropertyLists::StaticText1());
  AddControl_("StaticText2", New_<StaticText>());
  SetProperties_(*StaticText2(), AboutPropertyLists::StaticText2());
}

Ref<StaticText> About::StaticText1() const {
  return RuntimeCheckCast<StaticText>(ControlByName_("StaticText1"));
}

Ref<StaticText> About::StaticText2() const {
  return RuntimeCheckCast<StaticText>(ControlByName_("StaticText2"));
}

void About::Event_Open() { CentreOnMainScreen(*this); }
