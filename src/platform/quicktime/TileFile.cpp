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

// The folder part of path (with its slash) and the temporary name's stem:
// "." + the file name, shortened at a character boundary to leave room for
// the suffix.
std::string TemporaryStem(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t nameLength = std::min(path.size() - nameStart, kLongestName - kSuffixLength - 2);
  while (nameStart + nameLength < path.size() && nameLength > 0 &&
         (static_cast<unsigned char>(path[nameStart + nameLength]) & 0xC0) == 0x80)
    --nameLength;
  return path.substr(0, nameStart) + "." + path.substr(nameStart, nameLength) + ".";
}

}  // namespace

bool ReplaceFileWriting(const std::string& path, const std::function<bool(FILE* file)>& write,
                        std::string& error) {
  const std::string stem = TemporaryStem(path);
  std::string temporary;
  int descriptor = -1;
  for (int attempt = 0; descriptor < 0 && attempt < 100; ++attempt) {
    temporary = stem + RandomSuffix();
    descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (written) failure = errno;
  ::unlink(temporary.c_str());
  error = Reason(failure);
  return false;
}

bool ReplaceFileWith(const std::string& path, const void* data, size_t size, std::string& error) {
  return ReplaceFileWriting(
      path, [&](FILE* file) { return std::fwrite(data, 1, size, file) == size; }, error);
}
