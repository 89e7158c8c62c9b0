#pragma once
// Builders of the form property lists, one per kind of window or control.
// Each builder emits its kind's entries in the kind's fixed order, with the
// values that every list of the kind shares; the arguments carry the values
// that differ from object to object.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/properties/FormPropertyList.h"

namespace PropertyListKinds {

// Colours as 0xRRGGBB.
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kGrey = 0x808080;
inline constexpr uint32_t kDarkGrey = 0x666666;

// StaticText.TextAlign codes.
inline constexpr int32_t kAlignLeft = 0;
inline constexpr int32_t kAlignCentre = 1;
inline constexpr int32_t kAlignRight = 2;

struct WindowValues {
  int32_t width = 0;
  int32_t height = 0;
  bool composite = false;
  std::string title;
  bool minimizeButton = false;
};

// A control's name, bounds and place in the keyboard-focus order.
struct ControlPlace {
  std::string_view name;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t tabIndex = 0;
};

struct StaticTextValues {
  ControlPlace place;
  std::string text;
  int32_t textAlign = 0;
  uint32_t textColor = 0x000000;
  bool bold = false;
};

struct TextFieldValues {
  ControlPlace place;
  bool enabled = true;
  std::string format;
  std::string helpTag;
  std::string text;
  std::string mask;
  int32_t limitText = 0;
};

struct CheckBoxValues {
  ControlPlace place;
  std::string caption;
};

struct PopupMenuValues {
  ControlPlace place;
  std::string initialValue;  // the rows joined by "\r"
  int32_t listIndex = 0;
};

struct PushButtonValues {
  ControlPlace place;
  std::string caption;
  bool enabled = true;
};

struct LineValues {
  std::string name;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t x1 = 0;
  int32_t x2 = 0;
  int32_t y1 = 0;
  int32_t y2 = 0;
};

FormPropertyList WindowList(const WindowValues& values);
FormPropertyList RectangleList(const ControlPlace& place);
FormPropertyList StaticTextList(const StaticTextValues& values);
FormPropertyList TextFieldList(const TextFieldValues& values);
FormPropertyList CheckBoxList(const CheckBoxValues& values);
FormPropertyList PopupMenuList(const PopupMenuValues& values);
FormPropertyList PushButtonList(const PushButtonValues& values);
FormPropertyList CanvasList(const ControlPlace& place);
FormPropertyList LineList(const LineValues& values);

}  // namespace PropertyListKinds
