#pragma once
// Inside the platform: a folder held open by a descriptor. Files made, renamed
// and removed relative to it stay in that folder wherever it is moved or
// renamed meanwhile. The descriptor is closed with the last reference.
#include <memory>
#include <string>

class OpenFolder {
 public:
  // The folder at that path held open, or null (with errno telling why).
  static std::shared_ptr<const OpenFolder> Open(const std::string& path);

  explicit OpenFolder(int descriptor) : descriptor_(descriptor) {}
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  int Descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};
