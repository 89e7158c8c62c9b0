#pragma once
// A named kind of file, and the framework's registry of them.
#include <string>
#include <vector>

#include "platform/runtime/Object.h"

class FileType : public Object {
 public:
  ~FileType() override;
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  // Each setter withdraws the type from the registry if it was registered.
  void Name(const std::string& value);
  void Extensions(const std::string& value);
  void MacType(const std::string& value);
  void MacCreator(const std::string& value);
  const std::string& Name() const { return name_; }
  const std::string& Extensions() const { return extensions_; }
  const std::string& MacType() const { return macType_; }
  const std::string& MacCreator() const { return macCreator_; }

  // Registers the type unless it is registered already; yields its Name.
  std::string Operator_Convert();

 private:
  void Withdraw();
  std::string name_, extensions_, macType_, macCreator_;
  bool registered_ = false;
};

struct RegisteredFileType {
  std::string name, creator, type, extensions;
};
void RuntimeRegisterFileType(const std::string& name, const std::string& creator,
                             const std::string& type, const std::string& extensions);
void RuntimeUnregisterFileType(const std::string& name);
std::vector<RegisteredFileType> RuntimeRegisteredFileTypes();
