#include "platform/runtime/Object.h"

#include <algorithm>
#include <map>

#include "platform/runtime/TestHooks.h"

namespace {
struct Registry {
  std::map<std::string, std::unique_ptr<ClassRecord>> byName;
  std::vector<std::string> order;
};
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}
}  // namespace

bool ClassRecord::IsA(const ClassRecord& other) const {
  for (const ClassRecord* c = this; c; c = c->superclass)
    if (c == &other) return true;
  return false;
}

const MemberRecord* ClassRecord::Member(const std::string& memberName) const {
  auto it = std::find_if(members.begin(), members.end(),
                         [&](const MemberRecord& m) { return m.name == memberName; });
  return it == members.end() ? nullptr : &*it;
}

const ClassRecord* RuntimeRegisterClass(const ClassDefinition& definition) {
  Registry& registry = TheRegistry();
  if (auto it = registry.byName.find(definition.name); it != registry.byName.end())
    return it->second.get();
  const ClassRecord* super = definition.superclass ? definition.superclass() : nullptr;
  auto record = std::make_unique<ClassRecord>();
  record->name = definition.name;
  record->superclass = super;
  if (super) record->classTable = super->classTable;
  for (const auto& [inherited, own] : definition.replacedOperations)
    std::replace(record->classTable.begin(), record->classTable.end(), inherited, own);
  record->classTable.insert(record->classTable.end(), definition.ownOperations.begin(),
                            definition.ownOperations.end());
  record->members = definition.members;
  record->events = super ? super->events : std::vector<std::string>{};
  record->events.insert(record->events.end(), definition.events.begin(), definition.events.end());
  record->handledEvents = definition.handledEvents;
  const ClassRecord* result = record.get();
  registry.byName.emplace(definition.name, std::move(record));
  registry.order.push_back(definition.name);
  RuntimeTrace("RegisterClass " + definition.name);
  return result;
}

const ClassRecord* RuntimeFindClass(const std::string& name) {
  auto& byName = TheRegistry().byName;
  auto it = byName.find(name);
  return it == byName.end() ? nullptr : it->second.get();
}

std::vector<std::string> RuntimeRegisteredClasses() { return TheRegistry().order; }

const ClassRecord* Object::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({.name = "Object"});
  return record;
}

void RuntimeTraceRelease(const char* propertyName) {
  RuntimeTrace(std::string("Release ") + propertyName);
}
