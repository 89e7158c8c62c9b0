#pragma once
// The object model: reference-counted objects, class records and the
// class-testing downcast.
//
// Names: the framework's own names that begin with underscores are reserved
// in C++, so they are spelled here without them and with a trailing "_"
// (_Initialize is Initialize_, __Lookup is Lookup_, __New is New_), except
// MenuItem's _Lookup(name), which is LookupByName_(name) beside its class's
// Lookup_(); the entry routine "% main" is VamorMain. Texts that the
// framework declares (member and entry-point names) keep their spelling.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/Exceptions.h"

template <class T>
using Ref = std::shared_ptr<T>;

struct MemberRecord {
  std::string name;
  std::string signature;  // framework encoding of parameters and result, e.g. "%b%"
  std::vector<std::pair<std::string, std::string>> attributes;  // "__Scope" -> "Public", "Hidden" -> ""
};

// What the framework knows of a registered class.
struct ClassRecord {
  std::string name;
  const ClassRecord* superclass = nullptr;
  std::vector<std::string> classTable;     // virtual operations in slot order, inherited first
  std::vector<MemberRecord> members;       // own members, for introspection
  std::vector<std::string> events;         // events the class declares (framework classes)
  std::vector<std::string> handledEvents;  // superclass events this class handles

  bool IsA(const ClassRecord& other) const;
  const MemberRecord* Member(const std::string& memberName) const;
};

// The description a class hands to the registry.
struct ClassDefinition {
  std::string name{};
  const ClassRecord* (*superclass)() = nullptr;  // looked up (and registered) first
  std::vector<std::string> ownOperations{};      // appended to the inherited class table
  std::vector<std::pair<std::string, std::string>> replacedOperations{};  // inherited slot -> own name
  std::vector<MemberRecord> members{};
  std::vector<std::string> events{};
  std::vector<std::string> handledEvents{};
};

// Registers each class once, superclass first. Registering again returns the
// existing record.
const ClassRecord* RuntimeRegisterClass(const ClassDefinition& definition);
const ClassRecord* RuntimeFindClass(const std::string& name);
// Class names in registration order.
std::vector<std::string> RuntimeRegisteredClasses();

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  static const ClassRecord* Lookup_();
  virtual const ClassRecord* ClassInfo() const { return Lookup_(); }
};

// The same object as T, or Nil for Nil; an object of another class raises
// IllegalCastException.
template <class T, class U>
Ref<T> RuntimeCheckCast(const Ref<U>& object) {
  if (!object) return nullptr;
  auto cast = std::dynamic_pointer_cast<T>(object);
  if (!cast) throw IllegalCastException("An object of class " + object->ClassInfo()->name +
                                        " is not a " + T::Lookup_()->name + ".");
  return cast;
}

// The reference itself; a Nil reference raises NilObjectException.
template <class T>
const Ref<T>& NotNil(const Ref<T>& object) {
  if (!object) throw NilObjectException();
  return object;
}

// Lets go of a module property at shut-down and sets it to Nil.
void RuntimeTraceRelease(const char* propertyName);
template <class T>
void RuntimeReleaseProperty(const char* propertyName, Ref<T>& property) {
  RuntimeTraceRelease(propertyName);
  property = nullptr;
}
