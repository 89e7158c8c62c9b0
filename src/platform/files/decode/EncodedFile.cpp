#include "platform/files/decode/EncodedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <new>
#include <system_error>

#include "platform/files/decode/PictureMemory.h"

namespace {
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool Unreadable(PictureOpenFailure& failure, std::string reason) {
  failure.kind = PictureOpenFailure::Kind::kUnreadable;
  failure.reason = std::move(reason);
  return false;
}

bool Unreadable(PictureOpenFailure& failure, int error) {
  return Unreadable(failure, std::generic_category().message(error));
}

std::string LowerExtension(const std::string& path) {
  const size_t slash = path.rfind('/'), dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension;
}
}  // namespace

bool EncodedFile::Read(const std::string& path, PictureOpenFailure& failure) {
  // Non-blocking, so that opening a FIFO with no writer does not hang.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.Get() < 0) return Unreadable(failure, errno);
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) return Unreadable(failure, errno);
  if (S_ISDIR(status.st_mode)) return Unreadable(failure, EISDIR);
  if (!S_ISREG(status.st_mode)) return Unreadable(failure, "it is not a regular file");

  const uint64_t size = uint64_t(status.st_size);
  const uint64_t available = AvailableMemory();
  if (size > available) return RecordShortage(failure, size, available);
  bytes_.reset(new (std::nothrow) uint8_t[std::max<uint64_t>(size, 1)]);
  if (!bytes_) return RecordShortage(failure, size);
  size_ = 0;
  while (size_ < size) {
    const ssize_t got = ::read(file.Get(), bytes_.get() + size_, size - size_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Unreadable(failure, errno);
    if (got == 0) break;  // the file shrank while it was read: what is there is decoded
    size_ += size_t(got);
  }
  extension_ = LowerExtension(path);
  return true;
}

void EncodedFile::Hold(std::span<const uint8_t> bytes, std::string extension) {
  bytes_.reset(new uint8_t[std::max<size_t>(bytes.size(), 1)]);
  std::copy(bytes.begin(), bytes.end(), bytes_.get());
  size_ = bytes.size();
  extension_ = std::move(extension);
}
