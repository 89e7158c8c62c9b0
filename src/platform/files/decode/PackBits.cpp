#include "platform/files/decode/PackBits.h"

#include <cstring>

namespace {
// Walks the packets, handing each to put: where its bytes go in the row,
// the packed bytes it copies (a literal) or the one it repeats (a run), and
// how many bytes it gives. False when a packet reaches past the packed row
// or the row, or the packets fall short of the row.
template <class Put>
bool Walk(std::span<const uint8_t> packed, uint64_t rowBytes, Put put) {
  const uint64_t size = packed.size();
  uint64_t i = 0, o = 0;
  while (i < size) {
    const int header = int8_t(packed[i++]);
    if (header == -128) continue;  // no operation
    const bool literal = header >= 0;
    const uint64_t length = literal ? uint64_t(header) + 1 : uint64_t(1 - header);
    const uint64_t source = literal ? length : 1;
    if (source > size - i || length > rowBytes - o) return false;
    put(o, packed.data() + i, length, literal);
    i += source;
    o += length;
  }
  return o == rowBytes;
}
}  // namespace

bool UnpacksToRow(std::span<const uint8_t> packed, uint64_t rowBytes) {
  return Walk(packed, rowBytes, [](uint64_t, const uint8_t*, uint64_t, bool) {});
}

bool UnpackBits(std::span<const uint8_t> packed, uint8_t* row, uint64_t rowBytes) {
  return Walk(packed, rowBytes,
              [row](uint64_t at, const uint8_t* bytes, uint64_t length, bool literal) {
                if (literal)
                  std::memcpy(row + at, bytes, length);
                else
                  std::memset(row + at, *bytes, length);
              });
}
