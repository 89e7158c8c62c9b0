#pragma once
// Properties that windows and controls declare for form property lists: a
// name (matched without regard to case), a type and a setter. Every value set
// is also kept, so that what a list set can be read back.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/properties/FormPropertyList.h"
#include "platform/runtime/Object.h"

struct PropertyDeclaration {
  std::string name;
  PropertyType type;
  std::function<void(Object&, const PropertyValue&)> set;  // empty: kept only
};
using PropertyDeclarations = std::vector<PropertyDeclaration>;

template <class T>
PropertyDeclaration IntegerProperty(const char* name, void (T::*set)(int32_t)) {
  return {name, PropertyType::Integer,
          [set](Object& o, const PropertyValue& v) { (static_cast<T&>(o).*set)(v.integer); }};
}
template <class T>
PropertyDeclaration BooleanProperty(const char* name, void (T::*set)(bool)) {
  return {name, PropertyType::Boolean,
          [set](Object& o, const PropertyValue& v) { (static_cast<T&>(o).*set)(v.boolean); }};
}
template <class T>
PropertyDeclaration ColorProperty(const char* name, void (T::*set)(int32_t)) {
  return {name, PropertyType::Color, [set](Object& o, const PropertyValue& v) {
            (static_cast<T&>(o).*set)(static_cast<int32_t>(v.color));
          }};
}
template <class T>
PropertyDeclaration StringProperty(const char* name, void (T::*set)(const std::string&)) {
  return {name, PropertyType::String,
          [set](Object& o, const PropertyValue& v) { (static_cast<T&>(o).*set)(v.text); }};
}
// A property the platform keeps but that changes nothing it shows.
inline PropertyDeclaration KeptProperty(const char* name, PropertyType type) {
  return {name, type, nullptr};
}

PropertyDeclarations Concat(PropertyDeclarations base, const PropertyDeclarations& own);

class PropertyHolder : public PropertyTarget {
 public:
  std::optional<PropertyType> PropertyTypeOf(std::string_view name) const override;
  void SetProperty(std::string_view name, const PropertyValue& value) override;
  // The last value a property list set, or nullopt.
  std::optional<PropertyValue> PropertyValueOf(std::string_view name) const;

 protected:
  virtual const PropertyDeclarations& Declarations() const = 0;
  virtual Object& PropertyObject() = 0;

 private:
  const PropertyDeclaration* Find(std::string_view name) const;
  std::map<std::string, PropertyValue> kept_;
};
