#include "ui/Window1.h"

#include "app/AboutMenuClass.h"
#include "app/MenuBar1.h"
#include "image/OpenMenu.h"
#include "platform/properties/FormPropertyList.h"
#include "ui/Window1PropertyLists.h"

namespace {
MemberRecord Public(const char* name, const char* signature) {
  return {name, signature, {{"__Scope", "Public"}}};
}

std::vector<MemberRecord> Window1Members() {
  std::vector<MemberRecord> members = {
      Public("Layout", "%%"),
      Public("CreateControls", "%%"),
      {"_CreateControls0", "%%", {{"__Scope", "Public"}, {"Hidden", ""}}},
      Public("Rectangle1", "%o<Rectangle>%"),
      Public("txtTime", "%o<StaticText>%"),
      Public("txtHeight", "%o<TextField>%"),
      Public("StaticText2", "%o<StaticText>%"),
      Public("StaticText3", "%o<StaticText>%"),
      Public("StaticText1", "%o<StaticText>%"),
      Public("txtWidth", "%o<TextField>%"),
      Public("CustomCheck", "%o<CheckBox>%"),
      Public("formatMenu", "%o<PopupMenu>%"),
      Public("ExtensionText", "%o<TextField>%"),
      Public("QualityText", "%o<StaticText>%"),
      Public("QualityMenu", "%o<PopupMenu>%"),
      Public("SaveButton", "%o<PushButton>%"),
      Public("Canvas1", "%o<Canvas>%"),
      Public("Line1", "%o<Line>%"),
      Public("txtHeight_TextChange", "%%o<TextField>"),
      Public("txtWidth_TextChange", "%%o<TextField>"),
      Public("CustomCheck_Action", "%%o<CheckBox>"),
      Public("formatMenu_Change", "%%o<PopupMenu>"),
      Public("ExtensionText_KeyDown", "%b%o<TextField>s"),
      Public("SaveButton_Action", "%%o<PushButton>"),
      Public("Canvas1_MouseUp", "%%o<Canvas>ii"),
      Public("Canvas1_MouseDown", "%b%o<Canvas>ii"),
      Public("Canvas1_Open", "%%o<Canvas>"),
      Public("Canvas1_DropObject", "%%o<Canvas>o<DragItem>i"),
      Public("FileMenu", "%o<MenuItem>%"),
      Public("FileQuit", "%o<QuitMenuItem>%"),
      Public("AppleAboutVamor", "%o<AboutMenuClass>%"),
      Public("FileOpen", "%o<OpenMenu>%"),
      Public("Event_Open", "%%"),
      Public("Event_EnableMenuItems", "%%"),
  };
  return members;
}

std::vector<std::string> NamesOf(const std::vector<MemberRecord>& members) {
  std::vector<std::string> names;
  for (const auto& m : members) names.push_back(m.name);
  return names;
}
}  // namespace

const ClassRecord* Window1::Lookup_() {
  static const ClassRecord* record = [] {
    std::vector<MemberRecord> members = Window1Members();
    return RuntimeRegisterClass({
        .name = "Window1.Window1",
        .superclass = &Window::Lookup_,
        .ownOperations = NamesOf(members),
        .members = members,
        .handledEvents = {"Layout", "CreateControls", "Open", "EnableMenuItems"},
    });
  }();
  return record;
}

Ref<class Window1> Window1() { return RuntimeImplicitWindow<class Window1>(); }

void Window1::Layout() {
  MenuBar(::MenuBar1());
  SetProperties_(*this, Window1PropertyLists::Window1());
}

void Window1::CreateControls() { CreateControls0_(); }

template <class T>
Ref<T> Window1::ControlNamed(const char* name) const {
  return RuntimeCheckCast<T>(ControlByName_(name));
}

template <class T, class Settings, class Bindings>
void Window1::CreateControl(const char* name, const std::string& list, Settings settings,
                            Bindings bindings) {
  AddControl_(name, New_<T>());
  settings(*ControlNamed<T>(name));
  SetProperties_(*ControlNamed<T>(name), list);
  bindings(*ControlNamed<T>(name));
}

void Window1::CreateControls0_() {
  namespace lists = Window1PropertyLists;
  auto none = [](auto&) {};
  auto textUnit = [](auto& control) { control.TextUnit(0); };
  Ref<class Window1> self = Self();
  CreateControl<Rectangle>("Rectangle1", lists::Rectangle1(), none, none);
  CreateControl<StaticText>("txtTime", lists::txtTime(), none, none);
  CreateControl<TextField>("txtHeight", lists::txtHeight(), textUnit, [&](TextField& c) {
    RuntimeAddEventHandler(c.TextChange, RuntimeCreateDelegate(self, &Window1::txtHeight_TextChange));
  });
  CreateControl<StaticText>("StaticText2", lists::StaticText2(), none, none);
  CreateControl<StaticText>("StaticText3", lists::StaticText3(), none, none);
  CreateControl<StaticText>("StaticText1", lists::StaticText1(), none, none);
  CreateControl<TextField>("txtWidth", lists::txtWidth(), textUnit, [&](TextField& c) {
    RuntimeAddEventHandler(c.TextChange, RuntimeCreateDelegate(self, &Window1::txtWidth_TextChange));
  });
  CreateControl<CheckBox>("CustomCheck", lists::CustomCheck(), textUnit, [&](CheckBox& c) {
    RuntimeAddEventHandler(c.Action, RuntimeCreateDelegate(self, &Window1::CustomCheck_Action));
  });
  CreateControl<PopupMenu>("formatMenu", lists::formatMenu(), textUnit, [&](PopupMenu& c) {
    RuntimeAddEventHandler(c.Change, RuntimeCreateDelegate(self, &Window1::formatMenu_Change));
  });
  CreateControl<TextField>("ExtensionText", lists::ExtensionText(), textUnit, [&](TextField& c) {
    RuntimeAddEventHandler(c.KeyDown, RuntimeCreateDelegate(self, &Window1::ExtensionText_KeyDown));
  });
  CreateControl<StaticText>("QualityText", lists::QualityText(), none, none);
  CreateControl<PopupMenu>("QualityMenu", lists::QualityMenu(), textUnit, none);
  CreateControl<PushButton>("SaveButton", lists::SaveButton(), textUnit, [&](PushButton& c) {
    RuntimeAddEventHandler(c.Action, RuntimeCreateDelegate(self, &Window1::SaveButton_Action));
  });
  CreateControl<Canvas>(
      "Canvas1", lists::Canvas1(), [](Canvas& c) { c.Backdrop(mulvo_vamor()); },
      [&](Canvas& c) {
        RuntimeAddEventHandler(c.MouseUp, RuntimeCreateDelegate(self, &Window1::Canvas1_MouseUp));
        RuntimeAddEventHandler(c.MouseDown, RuntimeCreateDelegate(self, &Window1::Canvas1_MouseDown));
        RuntimeAddEventHandler(c.Open, RuntimeCreateDelegate(self, &Window1::Canvas1_Open));
        RuntimeAddEventHandler(c.DropObject, RuntimeCreateDelegate(self, &Window1::Canvas1_DropObject));
      });
  CreateControl<Line>("Line1", lists::Line1(), none, none);
}

Ref<Rectangle> Window1::Rectangle1() const { return ControlNamed<Rectangle>("Rectangle1"); }
Ref<StaticText> Window1::txtTime() const { return ControlNamed<StaticText>("txtTime"); }
Ref<TextField> Window1::txtHeight() const { return ControlNamed<TextField>("txtHeight"); }
Ref<StaticText> Window1::StaticText2() const { return ControlNamed<StaticText>("StaticText2"); }
Ref<StaticText> Window1::StaticText3() const { return ControlNamed<StaticText>("StaticText3"); }
Ref<StaticText> Window1::StaticText1() const { return ControlNamed<StaticText>("StaticText1"); }
Ref<TextField> Window1::txtWidth() const { return ControlNamed<TextField>("txtWidth"); }
Ref<CheckBox> Window1::CustomCheck() const { return ControlNamed<CheckBox>("CustomCheck"); }
Ref<PopupMenu> Window1::formatMenu() const { return ControlNamed<PopupMenu>("formatMenu"); }
Ref<TextField> Window1::ExtensionText() const { return ControlNamed<TextField>("ExtensionText"); }
Ref<StaticText> Window1::QualityText() const { return ControlNamed<StaticText>("QualityText"); }
Ref<PopupMenu> Window1::QualityMenu() const { return ControlNamed<PopupMenu>("QualityMenu"); }
Ref<PushButton> Window1::SaveButton() const { return ControlNamed<PushButton>("SaveButton"); }
Ref<Canvas> Window1::Canvas1() const { return ControlNamed<Canvas>("Canvas1"); }
Ref<Line> Window1::Line1() const { return ControlNamed<Line>("Line1"); }

template <class T>
Ref<T> Window1::MenuItemNamed(const char* name) const {
  return RuntimeCheckCast<T>(NotNil(MenuBar())->LookupByName_(name));
}

Ref<MenuItem> Window1::FileMenu() const { return MenuItemNamed<MenuItem>("FileMenu"); }
Ref<QuitMenuItem> Window1::FileQuit() const { return MenuItemNamed<QuitMenuItem>("FileQuit"); }
Ref<AboutMenuClass> Window1::AppleAboutVamor() const {
  return MenuItemNamed<AboutMenuClass>("AppleAboutVamor");
}
Ref<OpenMenu> Window1::FileOpen() const { return MenuItemNamed<OpenMenu>("FileOpen"); }
