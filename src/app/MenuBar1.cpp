#include "app/MenuBar1.h"

#include "app/AboutMenuClass.h"
#include "image/OpenMenu.h"

const ClassRecord* MenuBar1::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "MenuBar1.MenuBar1",
      .superclass = &MenuBar::Lookup_,
      .ownOperations = {"Untitled0"},
      .replacedOperations = {{"Constructor", "MenuBar1.Constructor"}},
      .members = {{"Constructor", "%%", {{"__Scope", "Public"}}},
                  {"Untitled0", "%%", {{"__Scope", "Public"}}}},
  });
  return record;
}

void MenuBar1::Constructor() { Untitled0(); }

namespace {
struct ItemRow {
  Ref<MenuItem> (*make)();
  const char* name;
  bool autoEnable;
  const char* text;
  const char* shortcut;
};

template <class T>
Ref<MenuItem> Make() {
  auto item = std::make_shared<T>();
  item->Constructor();
  return item;
}

const ItemRow kItems[] = {
    {&Make<MenuItem>, "FileMenu", true, "&File", ""},
    {&Make<OpenMenu>, "FileOpen", false, "Open...", "Cmd+O"},
    {&Make<AboutMenuClass>, "AppleAboutVamor", true, "About Vamor", ""},
    {&Make<QuitMenuItem>, "FileQuit", true, "&Quit", "Cmd+Q"},
};
}  // namespace

void MenuBar1::Untitled0() {
  Ref<MenuItem> item;
  for (const ItemRow& row : kItems) {
    item = row.make();
    item->Name(row.name);
    item->AutoEnable(row.autoEnable);
    item->Text(row.text);
    item->KeyboardShortcut(row.shortcut);
    if (&row == &kItems[0]) Append(item);
    else NotNil(Child("FileMenu"))->Append(item);
  }
}

Ref<class MenuBar1> MenuBar1() {
  if (!MenuBar1Module::_implicitInstance) {
    auto bar = std::make_shared<class MenuBar1>();
    bar->Constructor();
    MenuBar1Module::_implicitInstance = bar;
  }
  return MenuBar1Module::_implicitInstance;
}
