#pragma once
// Form property lists: byte-encoded name/value lists from which windows and
// controls take their initial properties.
//
// An entry is the property name (ASCII letters and digits), one 0x20 byte,
// then the value, whose width follows from the property's declared type:
// Integer 4 bytes big-endian two's complement; Boolean 1 byte; Color 3 bytes
// (red, green, blue); String a 4-byte big-endian byte count then the bytes.
// Entries follow each other with nothing between and nothing after.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class PropertyType { Integer, Boolean, Color, String };

struct PropertyValue {
  PropertyType type = PropertyType::Integer;
  int32_t integer = 0;
  bool boolean = false;
  uint32_t color = 0;  // 0xRRGGBB
  std::string text;

  static PropertyValue Int(int32_t value);
  static PropertyValue Bool(bool value);
  static PropertyValue Color(uint32_t rgb);
  static PropertyValue Text(std::string value);
  bool operator==(const PropertyValue&) const = default;
};

struct PropertyEntry {
  std::string name;
  PropertyValue value;
  bool operator==(const PropertyEntry&) const = default;
};

// A list is raw bytes carried whole in a string (zero bytes included).
using FormPropertyList = std::string;

FormPropertyList EncodeFormPropertyList(const std::vector<PropertyEntry>& entries);

// What a list is applied to: it tells the declared type of each property name
// (matched without regard to letter case) and sets the property.
class PropertyTarget {
 public:
  virtual ~PropertyTarget() = default;
  virtual std::optional<PropertyType> PropertyTypeOf(std::string_view name) const = 0;
  virtual void SetProperty(std::string_view name, const PropertyValue& value) = 0;
};

// Reads the list from its first byte to its last and sets each property in
// the order of the entries. A name the target does not have, or a list that
// ends inside an entry, raises RuntimeException.
void SetProperties_(PropertyTarget& target, std::string_view list);

// The entries of a list, reading each value by the type that typeOf gives.
std::vector<PropertyEntry> DecodeFormPropertyList(
    std::string_view list, std::optional<PropertyType> (*typeOf)(std::string_view name));

// The type of each of the property names that occur in the system's lists,
// matched without regard to case.
std::optional<PropertyType> StandardPropertyType(std::string_view name);

// Property names are matched without regard to ASCII case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
