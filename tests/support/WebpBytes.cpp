#include "WebpBytes.h"

#include "ByteOrder.h"

namespace {
QByteArray Chunk(const char* type, const QByteArray& data) {
  QByteArray chunk = QByteArray(type, 4) + LittleEndian(uint32_t(data.size()), 4) + data;
  if (data.size() % 2) chunk += '\0';
  return chunk;
}
}  // namespace

QByteArray WebpChunk(const QByteArray& webp, const char* type) {
  const qsizetype at = webp.indexOf(QByteArray(type, 4), 12);
  if (at < 0) return {};
  const qsizetype size = ReadLittleEndian(webp, at + 4, 4);
  return webp.mid(at, 8 + size + size % 2);
}

QByteArray AnimatedWebp(int canvasWidth, int canvasHeight, const std::vector<WebpFrame>& frames) {
  constexpr uint8_t kAnimation = 0x02, kAlpha = 0x10;
  QByteArray body = Chunk("VP8X", char(kAnimation | kAlpha) + QByteArray(3, '\0') +
                                      LittleEndian(uint32_t(canvasWidth - 1), 3) +
                                      LittleEndian(uint32_t(canvasHeight - 1), 3));
  body += Chunk("ANIM", QByteArray(4, '\0') + LittleEndian(0, 2));  // transparent, no end
  for (const WebpFrame& frame : frames) {
    const QByteArray header = LittleEndian(uint32_t(frame.x / 2), 3) +
                              LittleEndian(uint32_t(frame.y / 2), 3) +
                              LittleEndian(uint32_t(frame.width - 1), 3) +
                              LittleEndian(uint32_t(frame.height - 1), 3) +
                              LittleEndian(100, 3) + char(0);  // 100 ms, blended
    body += Chunk("ANMF", header + frame.bitstream);
  }
  return "RIFF" + LittleEndian(uint32_t(4 + body.size()), 4) + "WEBP" + body;
}
