#include "platform/quicktime/TileFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <system_error>

namespace {
constexpr size_t kLongestName = 255;  // bytes in one path component
constexpr size_t kSuffixLength = 6;

std::string Reason(int code) { return std::generic_category().message(code); }

std::string RandomSuffix() {
  static const char kCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::minstd_rand generator(std::random_device{}());
  std::uniform_int_distribution<size_t> pick(0, sizeof kCharacters - 2);
  std::string suffix(kSuffixLength, ' ');
  for (char& character : suffix) character = kCharacters[pick(generator)];
  return suffix;
}

// The temporary file's name without its suffix: "." + the file's name,
// shortened at a character boundary to leave room for the suffix.
std::string TemporaryStem(const std::string& name) {
  size_t length = std::min(name.size(), kLongestName - kSuffixLength - 2);
  while (length < name.size() && length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
    --length;
  return "." + name.substr(0, length) + ".";
}

}  // namespace

bool ReplaceFileWriting(const TilePath& path, const std::function<bool(FILE* file)>& write,
                        std::string& error) {
  const std::string stem = TemporaryStem(path.name);
  std::string temporary;
  int descriptor = -1;
  for (int attempt = 0; descriptor < 0 && attempt < 100; ++attempt) {
    temporary = stem + RandomSuffix();
    descriptor = ::openat(path.folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno != EEXIST) break;
  }
  if (descriptor < 0) {
    error = Reason(errno);
    return false;
  }
  FILE* file = ::fdopen(descriptor, "wb");
  if (!file) ::close(descriptor);
  bool written = file && write(file);
  int failure = errno;
  if (file && ::fclose(file) != 0 && written) {
    written = false;
    failure = errno;
  }
  if (written && ::renameat(path.folder, temporary.c_str(), path.folder, path.name.c_str()) == 0) return true;
  if (written) failure = errno;
  ::unlinkat(path.folder, temporary.c_str(), 0);
  error = Reason(failure);
  return false;
}

bool ReplaceFileWith(const TilePath& path, const void* data, size_t size, std::string& error) {
  return ReplaceFileWriting(
      path, [&](FILE* file) { return std::fwrite(data, 1, size, file) == size; }, error);
}
