#pragma once
// The framework's window: built through its Layout and CreateControls hooks,
// opened with its Open event, held by the framework while it is open.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/ui/DeclaredProperties.h"

class MenuBar;
class MouseCursor;
class RectControl;
struct WindowWidgets;

class Window : public Object, public PropertyHolder {
 public:
  Window();
  ~Window() override;
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  // Builds and opens the window: the platform window, Layout, CreateControls,
  // the controls' Open events, the window's Open event, then shows it.
  void Constructor();

  // Construction hooks and events; the defaults do nothing.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void Event_Open() {}
  virtual void Event_EnableMenuItems() {}

  void Show();   // shows the window and brings it to the front
  void Close();  // closes it as the close button does
  bool IsOpen() const;

  std::string Title() const;
  void Title(const std::string& title);
  // The content area's position on the screen, as the program placed it (a
  // platform may keep a window's frame on screen), and its size.
  int32_t Left() const { return left_; }
  void Left(int32_t value);
  int32_t Top() const { return top_; }
  void Top(int32_t value);
  int32_t Width() const { return width_; }
  void Width(int32_t value);
  int32_t Height() const { return height_; }
  void Height(int32_t value);
  bool Visible() const { return visible_; }
  void Visible(bool value) { visible_ = value; }
  bool Resizeable() const { return resizeable_; }
  void Resizeable(bool value) { resizeable_ = value; }
  bool CloseButton() const { return closeButton_; }
  void CloseButton(bool value) { closeButton_ = value; }
  bool MaximizeButton() const { return maximizeButton_; }
  void MaximizeButton(bool value) { maximizeButton_ = value; }
  bool MinimizeButton() const { return minimizeButton_; }
  void MinimizeButton(bool value) { minimizeButton_ = value; }
  void BackColor(int32_t rgb);
  void HasBackColor(bool value);
  void FullScreen(bool value) { fullScreen_ = value; }  // takes effect as the window is shown
  void MenuBarVisible(bool value);

  const Ref<::MenuBar>& MenuBar() const { return menuBar_; }
  void MenuBar(const Ref<::MenuBar>& bar);
  const Ref<::MouseCursor>& MouseCursor() const { return cursor_; }
  void MouseCursor(const Ref<::MouseCursor>& cursor);

  // Controls: created on the window, registered and found by name.
  template <class T>
  Ref<T> New_() {
    auto control = std::make_shared<T>();
    AttachControl(control);
    return control;
  }
  void AddControl_(const std::string& name, const Ref<RectControl>& control);
  Ref<RectControl> ControlByName_(const std::string& name) const;
  const std::vector<Ref<RectControl>>& Controls() const { return controls_; }

  WindowWidgets& Widgets() const { return *widgets_; }

 protected:
  const PropertyDeclarations& Declarations() const override;
  Object& PropertyObject() override { return *this; }

 private:
  friend class WindowCloser;
  void AttachControl(const Ref<RectControl>& control);
  void ApplyWindowFlags();
  void UpdateApplicationShortcuts();
  void PlaceContent();
  void OrderFocusByTabIndex();

  std::unique_ptr<WindowWidgets> widgets_;
  std::vector<Ref<RectControl>> controls_;
  std::vector<std::pair<std::string, Ref<RectControl>>> named_;
  Ref<::MenuBar> menuBar_;
  Ref<::MouseCursor> cursor_;
  int32_t width_ = 100, height_ = 100;
  int32_t left_ = 0, top_ = 0;
  bool visible_ = true, resizeable_ = true, closeButton_ = true;
  bool maximizeButton_ = true, minimizeButton_ = true;
  bool fullScreen_ = false, menuBarVisible_ = true;
};

// The open window whose class has that name, or Nil.
Ref<Window> GetImplicitWindow_(const std::string& className);
// The framework's list of open windows, frontmost first.
std::vector<Ref<Window>> RuntimeOpenWindows();
Ref<Window> RuntimeFrontmostWindow();
// Closes every open window (at shut-down).
void RuntimeCloseAllWindows();

// A window class's implicit instance: the open window of that class, or a new
// one, built and opened, when none is open.
template <class T>
Ref<T> RuntimeImplicitWindow() {
  Ref<Window> window = GetImplicitWindow_(T::Lookup_()->name);
  if (!window) {
    auto created = std::make_shared<T>();
    created->Constructor();
    window = created;
  }
  return RuntimeCheckCast<T>(window);
}
