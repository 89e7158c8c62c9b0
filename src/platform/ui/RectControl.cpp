#include "platform/ui/RectControl.h"

#include <QPointer>
#include <QWidget>

#include "platform/ui/Window.h"
#include "platform/ui/WindowWidgets.h"

const ClassRecord* RectControl::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "RectControl",
      .superclass = &Object::Lookup_,
      .events = {"Open", "Close"},
  });
  return record;
}

struct RectControl::PlatformWidgets {
  QPointer<QWidget> content;  // the parent of the control's widget
  QPointer<QWidget> widget;
};

RectControl::RectControl() : platform_(std::make_unique<PlatformWidgets>()) {}

RectControl::~RectControl() = default;

const PropertyDeclarations& RectControl::Declarations() const {
  static const PropertyDeclarations declarations = {
      StringProperty<RectControl>("Name", &RectControl::Name),
      KeptProperty("Index", PropertyType::Integer),
      IntegerProperty<RectControl>("Left", &RectControl::Left),
      IntegerProperty<RectControl>("Top", &RectControl::Top),
      IntegerProperty<RectControl>("Width", &RectControl::Width),
      IntegerProperty<RectControl>("Height", &RectControl::Height),
      KeptProperty("LockLeft", PropertyType::Boolean),
      KeptProperty("LockTop", PropertyType::Boolean),
      KeptProperty("LockRight", PropertyType::Boolean),
      KeptProperty("LockBottom", PropertyType::Boolean),
      IntegerProperty<RectControl>("TabIndex", &RectControl::TabIndex),
      KeptProperty("TabPanelIndex", PropertyType::Integer),
      BooleanProperty<RectControl>("TabStop", &RectControl::TabStop),
      BooleanProperty<RectControl>("Visible", &RectControl::Visible),
      StringProperty<RectControl>("HelpTag", &RectControl::HelpTag),
      KeptProperty("AutoDeactivate", PropertyType::Boolean),
      BooleanProperty<RectControl>("Enabled", &RectControl::Enabled),
      KeptProperty("InitialParent", PropertyType::String),
      KeptProperty("DataSource", PropertyType::String),
      KeptProperty("DataField", PropertyType::String),
      KeptProperty("TextFont", PropertyType::String),
      KeptProperty("UseFocusRing", PropertyType::Boolean),
      KeptProperty("AcceptTabs", PropertyType::Boolean),
      KeptProperty("Alignment", PropertyType::Integer),
      KeptProperty("Format", PropertyType::String),
  };
  return declarations;
}

QWidget* RectControl::Widget() const { return platform_->widget; }

void RectControl::PlaceOn(const Window& window) { platform_->content = window.Widgets().content; }

QWidget* RectControl::ContentArea() const { return platform_->content; }

void RectControl::Adopt(QWidget* widget) {
  platform_->widget = widget;
  UpdateGeometry();
  widget->show();
}

void RectControl::UpdateGeometry() {
  if (QWidget* widget = Widget()) widget->setGeometry(left_, top_, width_, height_);
}

void RectControl::Left(int32_t value) { left_ = value; UpdateGeometry(); }
void RectControl::Top(int32_t value) { top_ = value; UpdateGeometry(); }
void RectControl::Width(int32_t value) { width_ = value; UpdateGeometry(); }
void RectControl::Height(int32_t value) { height_ = value; UpdateGeometry(); }

bool RectControl::Enabled() const { return enabled_; }

void RectControl::Enabled(bool value) {
  enabled_ = value;
  if (QWidget* widget = Widget()) widget->setEnabled(value);
}

void RectControl::Visible(bool value) {
  visible_ = value;
  if (QWidget* widget = Widget()) widget->setVisible(value);
}

void RectControl::HelpTag(const std::string& text) {
  helpTag_ = text;
  if (QWidget* widget = Widget()) widget->setToolTip(QString::fromStdString(text));
}

void RectControl::TabStop(bool value) {
  tabStop_ = value;
}
