#pragma once
// The base of every control: a rectangle on its window.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/ui/DeclaredProperties.h"

class QWidget;
class Window;

class RectControl : public Object, public PropertyHolder {
 public:
  RectControl();
  ~RectControl() override;
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  // Makes the control's platform widget on its window; called once, right
  // after creation.
  virtual void Constructor() = 0;
  // The control's Open event, fired as its window opens.
  virtual void RaiseOpen() {}

  const std::string& Name() const { return name_; }
  void Name(const std::string& name) { name_ = name; }
  int32_t Left() const { return left_; }
  void Left(int32_t value);
  int32_t Top() const { return top_; }
  void Top(int32_t value);
  int32_t Width() const { return width_; }
  void Width(int32_t value);
  int32_t Height() const { return height_; }
  void Height(int32_t value);
  bool Enabled() const;
  void Enabled(bool value);
  bool Visible() const { return visible_; }
  void Visible(bool value);
  const std::string& HelpTag() const { return helpTag_; }
  void HelpTag(const std::string& text);
  int32_t TabIndex() const { return tabIndex_; }
  void TabIndex(int32_t value) { tabIndex_ = value; }
  bool TabStop() const { return tabStop_; }
  void TabStop(bool value);

  // The platform widget, or null once its window has deleted it. Without it
  // the getters give the last known values and the setters keep theirs.
  QWidget* Widget() const;
  // Puts the control on the window's content area; called before Constructor.
  void PlaceOn(const Window& window);

 protected:
  // Takes the platform widget, parented to the window's content area.
  void Adopt(QWidget* widget);
  QWidget* ContentArea() const;
  const PropertyDeclarations& Declarations() const override;
  Object& PropertyObject() override { return *this; }
  template <class T>
  Ref<T> Self() {
    return std::static_pointer_cast<T>(shared_from_this());
  }

 private:
  struct PlatformWidgets;  // held weakly: Qt deletes them with their window
  void UpdateGeometry();
  std::unique_ptr<PlatformWidgets> platform_;
  std::string name_, helpTag_;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0, tabIndex_ = 0;
  bool enabled_ = true, visible_ = true, tabStop_ = true;
};
