#include "platform/properties/FormPropertyList.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "platform/runtime/Exceptions.h"

PropertyValue PropertyValue::Int(int32_t value) {
  PropertyValue result;
  result.type = PropertyType::Integer;
  result.integer = value;
  return result;
}

PropertyValue PropertyValue::Bool(bool value) {
  PropertyValue result;
  result.type = PropertyType::Boolean;
  result.boolean = value;
  return result;
}

PropertyValue PropertyValue::Color(uint32_t rgb) {
  PropertyValue result;
  result.type = PropertyType::Color;
  result.color = rgb & 0xFFFFFFu;
  return result;
}

PropertyValue PropertyValue::Text(std::string value) {
  PropertyValue result;
  result.type = PropertyType::String;
  result.text = std::move(value);
  return result;
}

namespace {

constexpr char kSeparator = ' ';

void AppendUInt32(FormPropertyList& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendValue(FormPropertyList& out, const PropertyValue& value) {
  switch (value.type) {
    case PropertyType::Integer:
      AppendUInt32(out, static_cast<uint32_t>(value.integer));
      break;
    case PropertyType::Boolean:
      out.push_back(value.boolean ? '\x01' : '\x00');
      break;
    case PropertyType::Color:
      for (int shift = 16; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value.color >> shift) & 0xFF));
      break;
    case PropertyType::String:
      AppendUInt32(out, static_cast<uint32_t>(value.text.size()));
      out += value.text;
      break;
  }
}

// Walks a list entry by entry; typeOf gives each name's type, onEntry takes
// each entry as soon as it has been read.
class ListReader {
 public:
  explicit ListReader(std::string_view list) : list_(list) {}

  template <typename TypeOf, typename OnEntry>
  void ReadAll(TypeOf&& typeOf, OnEntry&& onEntry) {
    while (pos_ < list_.size()) {
      std::string_view name = ReadName();
      std::optional<PropertyType> type = typeOf(name);
      if (!type) throw RuntimeException("Form property list: unknown property \"" + std::string(name) + "\"");
      onEntry(name, ReadValue(name, *type));
    }
  }

 private:
  std::string_view ReadName() {
    size_t end = list_.find(kSeparator, pos_);
    if (end == std::string_view::npos) {
      throw RuntimeException("Form property list ends inside the name \"" + std::string(list_.substr(pos_)) +
                             "\" at byte " + std::to_string(pos_));
    }
    std::string_view name = list_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return name;
  }

  std::string_view Take(std::string_view name, size_t count) {
    if (list_.size() - pos_ < count) {
      throw RuntimeException("Form property list ends inside the value of \"" + std::string(name) + "\": " +
                             std::to_string(count) + " bytes needed at byte " + std::to_string(pos_) + ", " +
                             std::to_string(list_.size() - pos_) + " left");
    }
    std::string_view bytes = list_.substr(pos_, count);
    pos_ += count;
    return bytes;
  }

  uint32_t TakeUInt32(std::string_view name) {
    uint32_t value = 0;
    for (char byte : Take(name, 4)) value = (value << 8) | static_cast<unsigned char>(byte);
    return value;
  }

  PropertyValue ReadValue(std::string_view name, PropertyType type) {
    switch (type) {
      case PropertyType::Integer:
        return PropertyValue::Int(static_cast<int32_t>(TakeUInt32(name)));
      case PropertyType::Boolean:
        return PropertyValue::Bool(Take(name, 1)[0] != 0);
      case PropertyType::Color: {
        uint32_t rgb = 0;
        for (char byte : Take(name, 3)) rgb = (rgb << 8) | static_cast<unsigned char>(byte);
        return PropertyValue::Color(rgb);
      }
      case PropertyType::String: {
        uint32_t length = TakeUInt32(name);
        return PropertyValue::Text(std::string(Take(name, length)));
      }
    }
    throw RuntimeException("Form property list: property \"" + std::string(name) + "\" has no known type");
  }

  std::string_view list_;
  size_t pos_ = 0;
};

struct NamedType {
  std::string_view name;
  PropertyType type;
};

constexpr PropertyType I = PropertyType::Integer;
constexpr PropertyType B = PropertyType::Boolean;
constexpr PropertyType C = PropertyType::Color;
constexpr PropertyType S = PropertyType::String;

constexpr std::array<NamedType, 78> kStandardTypes{{
    {"Placement", I}, {"Width", I}, {"Height", I}, {"MinWidth", I}, {"MinHeight", I},
    {"MaxWidth", I}, {"MaxHeight", I}, {"Frame", I}, {"MacProcID", I}, {"Index", I},
    {"Left", I}, {"Top", I}, {"TabIndex", I}, {"TabPanelIndex", I}, {"BorderWidth", I},
    {"TextAlign", I}, {"LimitText", I}, {"Alignment", I}, {"State", I}, {"ListIndex", I},
    {"ButtonStyle", I}, {"X1", I}, {"X2", I}, {"Y1", I}, {"Y2", I},

    {"Composite", B}, {"HasBackColor", B}, {"Visible", B}, {"FullScreen", B},
    {"MenuBarVisible", B}, {"CloseButton", B}, {"Resizeable", B}, {"LiveResize", B},
    {"MaximizeButton", B}, {"MinimizeButton", B}, {"LockLeft", B}, {"LockTop", B},
    {"LockRight", B}, {"LockBottom", B}, {"AutoDeactivate", B}, {"Enabled", B},
    {"TabStop", B}, {"Multiline", B}, {"Selectable", B}, {"Transparent", B}, {"Bold", B},
    {"Italic", B}, {"Underline", B}, {"Border", B}, {"Password", B}, {"UseFocusRing", B},
    {"ReadOnly", B}, {"AcceptTabs", B}, {"Value", B}, {"Default", B}, {"Cancel", B},
    {"AcceptFocus", B}, {"DoubleBuffer", B}, {"EraseBackground", B},

    {"BackColor", C}, {"FillColor", C}, {"TopLeftColor", C}, {"BottomRightColor", C},
    {"TextColor", C}, {"LineColor", C},

    {"Title", S}, {"Name", S}, {"HelpTag", S}, {"InitialParent", S}, {"Text", S},
    {"TextFont", S}, {"DataSource", S}, {"DataField", S}, {"Format", S}, {"CueText", S},
    {"Mask", S}, {"Caption", S}, {"InitialValue", S},
}};

}  // namespace

FormPropertyList EncodeFormPropertyList(const std::vector<PropertyEntry>& entries) {
  FormPropertyList out;
  for (const PropertyEntry& entry : entries) {
    out += entry.name;
    out.push_back(kSeparator);
    AppendValue(out, entry.value);
  }
  return out;
}

void SetProperties_(PropertyTarget& target, std::string_view list) {
  ListReader(list).ReadAll([&](std::string_view name) { return target.PropertyTypeOf(name); },
                           [&](std::string_view name, const PropertyValue& value) { target.SetProperty(name, value); });
}

std::vector<PropertyEntry> DecodeFormPropertyList(
    std::string_view list, std::optional<PropertyType> (*typeOf)(std::string_view name)) {
  std::vector<PropertyEntry> entries;
  ListReader(list).ReadAll(typeOf, [&](std::string_view name, PropertyValue value) {
    entries.push_back({std::string(name), std::move(value)});
  });
  return entries;
}

std::optional<PropertyType> StandardPropertyType(std::string_view name) {
  for (const NamedType& known : kStandardTypes) {
    if (EqualsIgnoringCase(known.name, name)) return known.type;
  }
  return std::nullopt;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
