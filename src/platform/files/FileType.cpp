#include "platform/files/FileType.h"

#include <algorithm>

#include "platform/runtime/TestHooks.h"

namespace {
std::vector<RegisteredFileType>& Registry() {
  static std::vector<RegisteredFileType> registry;
  return registry;
}
}  // namespace

void RuntimeRegisterFileType(const std::string& name, const std::string& creator,
                             const std::string& type, const std::string& extensions) {
  RuntimeTrace("RegisterFileType " + name);
  Registry().push_back({name, creator, type, extensions});
}

void RuntimeUnregisterFileType(const std::string& name) {
  auto& registry = Registry();
  registry.erase(std::remove_if(registry.begin(), registry.end(),
                                [&](const RegisteredFileType& t) { return t.name == name; }),
                 registry.end());
}

std::vector<RegisteredFileType> RuntimeRegisteredFileTypes() { return Registry(); }

const ClassRecord* FileType::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "FileType", .superclass = &Object::Lookup_});
  return record;
}

FileType::~FileType() { Withdraw(); }

void FileType::Withdraw() {
  if (!registered_) return;
  RuntimeUnregisterFileType(name_);
  registered_ = false;
}

void FileType::Name(const std::string& value) { Withdraw(); name_ = value; }
void FileType::Extensions(const std::string& value) { Withdraw(); extensions_ = value; }
void FileType::MacType(const std::string& value) { Withdraw(); macType_ = value; }
void FileType::MacCreator(const std::string& value) { Withdraw(); macCreator_ = value; }

std::string FileType::Operator_Convert() {
  if (!registered_) {
    RuntimeRegisterFileType(name_, macCreator_, macType_, extensions_);
    registered_ = true;
  }
  return name_;
}
