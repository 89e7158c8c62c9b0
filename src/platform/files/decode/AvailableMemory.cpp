#include "platform/files/decode/AvailableMemory.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <span>
#include <string>

#include "platform/runtime/TestHooks.h"

namespace {
constexpr uint64_t kUnlimited = std::numeric_limits<uint64_t>::max();

// A "Name:   1234 kB" line of a file in /proc, in bytes; kUnlimited when the
// file has no such line.
struct KilobyteField {
  const char* name;
  uint64_t bytes = kUnlimited;
};

// Fills in the fields from the file, read once.
void ReadKilobyteFields(const char* file, std::span<KilobyteField> fields) {
  std::ifstream in(file);
  std::string key;
  uint64_t kilobytes = 0;
  while (in >> key) {
    for (KilobyteField& field : fields)
      if (key == field.name && in >> kilobytes) field.bytes = kilobytes * 1024;
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
}

uint64_t NumberIn(const std::string& file) {
  std::ifstream in(file);
  uint64_t value = 0;
  return in >> value ? value : kUnlimited;  // "max" reads as no number
}

// What a limit leaves beside what is in use.
uint64_t Left(uint64_t limit, uint64_t used) {
  if (limit == kUnlimited) return kUnlimited;
  return limit > used ? limit - used : 0;
}

uint64_t ResourceLimit(int resource) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kUnlimited;
  return uint64_t(limit.rlim_cur);
}

// The process's cgroup (v2) as /proc/self/cgroup names it ("0::/a/b"), or
// nothing.
std::string OwnCgroup() {
  std::ifstream in("/proc/self/cgroup");
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("0::/")) return line.substr(3);
  return {};
}

// The least that the memory limits of the process's cgroup and of each one
// above it leave; a cgroup whose limit or use cannot be read sets none.
uint64_t CgroupLeft() {
  std::string cgroup = OwnCgroup();
  if (cgroup.empty()) return kUnlimited;
  if (cgroup == "/") cgroup.clear();
  uint64_t left = kUnlimited;
  for (;;) {
    const std::string folder = "/sys/fs/cgroup" + cgroup;
    const uint64_t used = NumberIn(folder + "/memory.current");
    if (used != kUnlimited) left = std::min(left, Left(NumberIn(folder + "/memory.max"), used));
    if (cgroup.empty()) return left;
    cgroup.erase(cgroup.rfind('/'));
  }
}
}  // namespace

uint64_t AvailableMemory() {
  if (TestHooks::availableMemory > 0) return TestHooks::availableMemory;
  KilobyteField system[] = {{"MemAvailable:"}};
  ReadKilobyteFields("/proc/meminfo", system);
  KilobyteField process[] = {{"VmSize:"}, {"VmData:"}};
  ReadKilobyteFields("/proc/self/status", process);
  uint64_t available = std::min(system[0].bytes, CgroupLeft());
  available = std::min(available, Left(ResourceLimit(RLIMIT_AS), process[0].bytes));
  available = std::min(available, Left(ResourceLimit(RLIMIT_DATA), process[1].bytes));
  return available;
}
