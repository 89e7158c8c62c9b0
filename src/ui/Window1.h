#pragma once
// The main window: the preview, the tile settings and the Save button.
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

class AboutMenuClass;
class OpenMenu;

class Window1 : public Window {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  void Layout() override;
  void CreateControls() override;
  void CreateControls0_();

  // Controls, looked up by name on every call.
  Ref<Rectangle> Rectangle1() const;
  Ref<StaticText> txtTime() const;
  Ref<TextField> txtHeight() const;
  Ref<StaticText> StaticText2() const;
  Ref<StaticText> StaticText3() const;
  Ref<StaticText> StaticText1() const;
  Ref<TextField> txtWidth() const;
  Ref<CheckBox> CustomCheck() const;
  Ref<PopupMenu> formatMenu() const;
  Ref<TextField> ExtensionText() const;
  Ref<StaticText> QualityText() const;
  Ref<PopupMenu> QualityMenu() const;
  Ref<PushButton> SaveButton() const;
  Ref<Canvas> Canvas1() const;
  Ref<Line> Line1() const;

  // Handlers of the controls' events.
  void txtHeight_TextChange(const Ref<TextField>& sender);
  void txtWidth_TextChange(const Ref<TextField>& sender);
  void CustomCheck_Action(const Ref<CheckBox>& sender);
  void formatMenu_Change(const Ref<PopupMenu>& sender);
  bool ExtensionText_KeyDown(const Ref<TextField>& sender, std::string key);
  void SaveButton_Action(const Ref<PushButton>& sender);
  void Canvas1_MouseUp(const Ref<Canvas>& sender, int32_t x, int32_t y);
  bool Canvas1_MouseDown(const Ref<Canvas>& sender, int32_t x, int32_t y);
  void Canvas1_Open(const Ref<Canvas>& sender);
  void Canvas1_DropObject(const Ref<Canvas>& sender, Ref<DragItem> item, int32_t action);

  // Menu items of the window's menu bar.
  Ref<MenuItem> FileMenu() const;
  Ref<QuitMenuItem> FileQuit() const;
  Ref<AboutMenuClass> AppleAboutVamor() const;
  Ref<OpenMenu> FileOpen() const;

  void Event_Open() override;
  void Event_EnableMenuItems() override;

  // Save is enabled exactly when both tile sizes are at least 1.
  void UpdateSaveEnabled();

 private:
  void TileSizeChanged();
  template <class T>
  Ref<T> ControlNamed(const char* name) const;
  template <class T>
  Ref<T> MenuItemNamed(const char* name) const;
  template <class T, class Settings, class Bindings>
  void CreateControl(const char* name, const std::string& list, Settings settings, Bindings bindings);
  Ref<Window1> Self() { return std::static_pointer_cast<Window1>(shared_from_this()); }
};

// The implicit instance: the open main window, built and opened when none is.
Ref<class Window1> Window1();

// The placeholder picture from the application's resources folder, or Nil.
Ref<Picture> mulvo_vamor();
