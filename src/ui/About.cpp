#include "ui/About.h"

#include "ui/CentreOnMainScreen.h"
#include "ui/AboutPropertyLists.h"

const ClassRecord* About::__Lookup() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "About.About",
      .superclass = &Window::__Lookup,
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

void About::Layout() { _SetProperties(*this, AboutPropertyLists::About()); }

void About::CreateControls() { _CreateControls0(); }

void About::_CreateControls0() {
  _AddControl("StaticText1", __New<StaticText>());
  StaticText1()->TextSize(24.0f);
  _SetProperties(*StaticText1(), AboutPropertyLists::StaticText1());
  _AddControl("StaticText2", __New<StaticText>());
  _SetProperties(*StaticText2(), AboutPropertyLists::StaticText2());
}

Ref<StaticText> About::StaticText1() const {
  return RuntimeCheckCast<StaticText>(_ControlByName("StaticText1"));
}

Ref<StaticText> About::StaticText2() const {
  return RuntimeCheckCast<StaticText>(_ControlByName("StaticText2"));
}

void About::Event_Open() { CentreOnMainScreen(*this); }
