#include "ui/PropertyListKinds.h"

#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace PropertyListKinds {
namespace {

using Entries = std::vector<PropertyEntry>;

// Not one of an indexed set of like-named controls.
constexpr int32_t kNoIndex = std::numeric_limits<int32_t>::min();

PropertyEntry Int(std::string name, int32_t value) { return {std::move(name), PropertyValue::Int(value)}; }
PropertyEntry Bool(std::string name, bool value) { return {std::move(name), PropertyValue::Bool(value)}; }
PropertyEntry Color(std::string name, uint32_t rgb) { return {std::move(name), PropertyValue::Color(rgb)}; }
PropertyEntry Text(std::string name, std::string value) { return {std::move(name), PropertyValue::Text(std::move(value))}; }

Entries Join(std::initializer_list<Entries> parts) {
  Entries all;
  for (const Entries& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Name, Index, bounds and the four locks: the opening entries of every
// control kind except Line.
Entries Head(const ControlPlace& place, bool locked) {
  return {Text("Name", std::string(place.name)), Int("Index", kNoIndex),     Int("Left", place.left),
          Int("Top", place.top),    Int("Width", place.width),  Int("Height", place.height),
          Bool("LockLeft", locked), Bool("LockTop", locked),    Bool("LockRight", locked),
          Bool("LockBottom", locked)};
}

// On the window's own panel and in its keyboard-focus chain.
Entries Tabbing(const ControlPlace& place) {
  return {Int("TabPanelIndex", 0), Int("TabIndex", place.tabIndex), Bool("TabStop", true)};
}

Entries Font(bool bold = false) {
  return {Text("TextFont", "System"), Bool("Bold", bold), Bool("Italic", false), Bool("Underline", false)};
}

Entries NoDataBinding() { return {Text("DataSource", ""), Text("DataField", "")}; }

// Visible, no tip, deactivating with its window.
Entries Shown() { return {Bool("Visible", true), Text("HelpTag", ""), Bool("AutoDeactivate", true)}; }

// Directly on the window, inside no other control.
PropertyEntry OnWindow() { return Text("InitialParent", ""); }

}  // namespace

FormPropertyList WindowList(const WindowValues& v) {
  return EncodeFormPropertyList({
      Int("Placement", 0),
      Int("Width", v.width),
      Int("Height", v.height),
      Int("MinWidth", 64),
      Int("MinHeight", 64),
      Int("MaxWidth", 32000),
      Int("MaxHeight", 32000),
      Int("Frame", 0),
      Bool("Composite", v.composite),
      Bool("HasBackColor", false),
      Color("BackColor", kWhite),
      Text("Title", v.title),
      Bool("Visible", true),
      Bool("FullScreen", false),
      Bool("MenuBarVisible", true),
      Bool("CloseButton", true),
      Bool("Resizeable", false),
      Bool("LiveResize", false),
      Bool("MaximizeButton", false),
      Bool("MinimizeButton", v.minimizeButton),
      Int("MacProcID", 0),
  });
}

FormPropertyList RectangleList(const ControlPlace& place) {
  return EncodeFormPropertyList(Join({
      Head(place, true),
      {Int("TabIndex", place.tabIndex), Int("TabPanelIndex", 0)},
      Shown(),
      {Bool("Enabled", true), Color("FillColor", kWhite), Int("BorderWidth", 1), Color("TopLeftColor", kGrey),
       Color("BottomRightColor", kGrey)},
      {OnWindow()},
  }));
}

FormPropertyList StaticTextList(const StaticTextValues& v) {
  return EncodeFormPropertyList(Join({
      Head(v.place, false),
      Tabbing(v.place),
      {OnWindow()},
      Shown(),
      {Bool("Enabled", true), Text("Text", v.text), Int("TextAlign", v.textAlign), Color("TextColor", v.textColor),
       Bool("Multiline", false), Bool("Selectable", false), Bool("Transparent", false)},
      Font(v.bold),
      NoDataBinding(),
  }));
}

FormPropertyList TextFieldList(const TextFieldValues& v) {
  return EncodeFormPropertyList(Join({
      Head(v.place, false),
      Tabbing(v.place),
      {Bool("Border", true), Bool("Password", false), Bool("UseFocusRing", false), Color("TextColor", kBlack),
       Color("BackColor", kWhite), Bool("Enabled", v.enabled), Text("Format", v.format), Bool("Visible", true),
       Text("HelpTag", v.helpTag), Bool("AutoDeactivate", true)},
      Font(),
      {Text("CueText", ""), Text("Text", v.text), Text("Mask", v.mask), Bool("ReadOnly", false),
       Int("LimitText", v.limitText), Bool("AcceptTabs", false), Int("Alignment", 0)},
      NoDataBinding(),
      {OnWindow()},
  }));
}

FormPropertyList CheckBoxList(const CheckBoxValues& v) {
  return EncodeFormPropertyList(Join({
      Head(v.place, false),
      Tabbing(v.place),
      {Text("Caption", v.caption), Bool("Enabled", true)},
      Shown(),
      Font(),
      {Int("State", 0), Bool("Value", false)},
      NoDataBinding(),
      {OnWindow()},
  }));
}

FormPropertyList PopupMenuList(const PopupMenuValues& v) {
  return EncodeFormPropertyList(Join({
      Head(v.place, false),
      Tabbing(v.place),
      {Bool("Enabled", true), Text("InitialValue", v.initialValue), Int("ListIndex", v.listIndex)},
      Shown(),
      Font(),
      NoDataBinding(),
      {OnWindow()},
  }));
}

FormPropertyList PushButtonList(const PushButtonValues& v) {
  return EncodeFormPropertyList(Join({
      Head(v.place, false),
      Tabbing(v.place),
      {Text("Caption", v.caption), Bool("Default", false), Bool("Cancel", false), Bool("Enabled", v.enabled)},
      Shown(),
      {Int("ButtonStyle", 0)},
      Font(),
      {OnWindow()},
  }));
}

FormPropertyList CanvasList(const ControlPlace& place) {
  return EncodeFormPropertyList(Join({
      Head(place, false),
      Tabbing(place),
      Shown(),
      {Bool("Enabled", true), Bool("UseFocusRing", true), Bool("AcceptFocus", false), Bool("AcceptTabs", false),
       Bool("DoubleBuffer", false), Bool("EraseBackground", true)},
      {OnWindow()},
  }));
}

FormPropertyList LineList(const LineValues& v) {
  return EncodeFormPropertyList({
      Text("Name", v.name),
      Int("Index", kNoIndex),
      Int("Top", v.top),
      Int("Left", v.left),
      Int("Width", v.width),
      Int("Height", v.height),
      Int("X1", v.x1),
      Int("X2", v.x2),
      Int("Y1", v.y1),
      Int("Y2", v.y2),
      Int("TabPanelIndex", 0),
      Bool("Visible", true),
      Int("BorderWidth", 1),
      Color("LineColor", kWhite),
      OnWindow(),
  });
}

}  // namespace PropertyListKinds
