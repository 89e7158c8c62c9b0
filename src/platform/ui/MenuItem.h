#pragma once
// The framework's menu model. Windows show a menu bar through their own
// platform menu bar; the model is the same object for all of them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"

class MenuItem : public Object {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  // Makes the item a valid, empty menu item.
  void Constructor() {}

  const std::string& Name() const { return name_; }
  void Name(const std::string& v) { name_ = v; }
  const std::string& Text() const { return text_; }
  void Text(const std::string& v);
  const std::string& KeyboardShortcut() const { return shortcut_; }
  void KeyboardShortcut(const std::string& v);
  bool AutoEnable() const { return autoEnable_; }
  void AutoEnable(bool v) { autoEnable_ = v; }
  bool Enabled() const { return enabled_; }
  void Enabled(bool v);

  void Append(const Ref<MenuItem>& item);
  int32_t Count() const { return static_cast<int32_t>(children_.size()); }
  Ref<MenuItem> Item(int32_t index) const;
  // The direct child of that Name, or Nil.
  Ref<MenuItem> Child(const std::string& name) const;
  // The item of that Name anywhere below this one, or Nil.
  Ref<MenuItem> LookupByName_(const std::string& name) const;

  // The Action event: the user chose the item. The default does nothing.
  virtual bool Event_Action() { return false; }

  // Told when the item's texts, state or children change; a listener that
  // answers false is no longer wanted and is dropped.
  void OnChange(std::function<bool()> listener) { listeners_.push_back(std::move(listener)); }

 private:
  void Changed();
  std::string name_, text_, shortcut_;
  bool autoEnable_ = true, enabled_ = true;
  std::vector<Ref<MenuItem>> children_;
  std::vector<std::function<bool()>> listeners_;
};

class MenuBar : public MenuItem {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
};

// An item of the application menu's kind (where the platform has one).
class AppleMenuItem : public MenuItem {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
};

class QuitMenuItem : public MenuItem {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  bool Event_Action() override;
};

// The framework's quit action: closes the windows and ends the application.
bool QuitMenuAction(const Ref<MenuItem>& item);

// The menu-enabling pass: every item below the bar of the frontmost window
// (or of the application) is enabled exactly when it is AutoEnable, then the
// frontmost window's EnableMenuItems event runs.
void RuntimeEnableMenuItems();
