#include "platform/files/OpenFolder.h"

#include <fcntl.h>
#include <unistd.h>

std::shared_ptr<const OpenFolder> OpenFolder::Open(const std::string& path) {
  // O_PATH: a folder that may be written but not listed still opens.
  const int descriptor = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  return std::make_shared<const OpenFolder>(descriptor);
}

OpenFolder::~OpenFolder() { ::close(descriptor_); }
