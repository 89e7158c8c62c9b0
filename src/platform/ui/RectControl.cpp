#include "platform/ui/RectControl.h"

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

QWidget* RectControl::ContentArea() const { return window_ ? window_->Widgets().content : nullptr; }

void RectControl::Adopt(QWidget* widget) {
  widget_ = widget;
  UpdateGeometry();
  widget_->show();
}

void RectControl::UpdateGeometry() {
  if (widget_) widget_->setGeometry(left_, top_, width_, height_);
}

void RectControl::Left(int32_t value) { left_ = value; UpdateGeometry(); }
void RectControl::Top(int32_t value) { top_ = value; UpdateGeometry(); }
void RectControl::Width(int32_t value) { width_ = value; UpdateGeometry(); }
void RectControl::Height(int32_t value) { height_ = value; UpdateGeometry(); }

bool RectControl::Enabled() const { return enabled_; }

void RectControl::Enabled(bool value) {
  enabled_ = value;
  if (widget_) widget_->setEnabled(value);
}

void RectControl::Visible(bool value) {
  visible_ = value;
  if (widget_) widget_->setVisible(value);
}

void RectControl::HelpTag(const std::string& text) {
  helpTag_ = text;
  if (widget_) widget_->setToolTip(QString::fromStdString(text));
}

void RectControl::TabStop(bool value) {
  tabStop_ = value;
}
