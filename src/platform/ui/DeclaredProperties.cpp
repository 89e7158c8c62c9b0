#include "platform/ui/DeclaredProperties.h"

#include <algorithm>

PropertyDeclarations Concat(PropertyDeclarations base, const PropertyDeclarations& own) {
  base.insert(base.end(), own.begin(), own.end());
  return base;
}

const PropertyDeclaration* PropertyHolder::Find(std::string_view name) const {
  // A subclass's declaration, standing later, wins over its base class's.
  const auto& all = Declarations();
  auto it = std::find_if(all.rbegin(), all.rend(),
                         [&](const PropertyDeclaration& d) { return EqualsIgnoringCase(d.name, name); });
  return it == all.rend() ? nullptr : &*it;
}

std::optional<PropertyType> PropertyHolder::PropertyTypeOf(std::string_view name) const {
  const PropertyDeclaration* d = Find(name);
  if (!d) return std::nullopt;
  return d->type;
}

void PropertyHolder::SetProperty(std::string_view name, const PropertyValue& value) {
  const PropertyDeclaration* d = Find(name);
  if (!d) throw RuntimeException("No property named " + std::string(name) + ".");
  kept_[d->name] = value;
  if (d->set) d->set(PropertyObject(), value);
}

std::optional<PropertyValue> PropertyHolder::PropertyValueOf(std::string_view name) const {
  const PropertyDeclaration* d = Find(name);
  if (!d) return std::nullopt;
  auto it = kept_.find(d->name);
  if (it == kept_.end()) return std::nullopt;
  return it->second;
}
