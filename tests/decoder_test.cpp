// Decoding picture files: every format the program writes, with and without
// alpha, 8 and 16 bits a channel, EXIF orientation; damaged and oversized
// files give Nil.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>

#include <jpeglib.h>

#include "PictureBytes.h"
#include "platform/files/PictureDecoder.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/PictureImage.h"

namespace {

const QString kFixtures = QStringLiteral(VAMOR_FIXTURES "/decode/");

// The pattern every fixture shows (see tests/fixtures/decode/make_fixtures.sh):
// 4 x 3 blocks of 8 x 8 pixels.
constexpr int kWidth = 32, kHeight = 24;
constexpr int kRed[] = {255, 0, 0, 255, 0, 255, 0, 255, 128, 255, 64, 10};
constexpr int kGreen[] = {0, 255, 0, 255, 0, 255, 255, 0, 128, 128, 32, 200};
constexpr int kBlue[] = {0, 0, 255, 255, 0, 0, 255, 255, 128, 0, 200, 120};
constexpr int kAlpha[] = {255, 255, 255, 255, 128, 64, 200, 1, 0, 32, 160, 255};

int Block(int x, int y) { return (y / 8) * 4 + x / 8; }

enum Content { kRgb, kRgba, kGray };

QRgb Expected(Content content, int x, int y) {
  const int k = Block(x, y);
  if (content == kGray) return qRgb(23 * k, 23 * k, 23 * k);
  return qRgba(kRed[k], kGreen[k], kBlue[k], content == kRgba ? kAlpha[k] : 255);
}

// Compares a decoded pattern: every pixel of a lossless file, the middle of
// each block of a lossy one. Colour is not compared where alpha is 0.
void ExpectPattern(const QImage& image, Content content, int tolerance, bool lossy) {
  ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
  ASSERT_EQ(image.format(), QImage::Format_ARGB32);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (lossy && (x % 8 < 3 || x % 8 > 4 || y % 8 < 3 || y % 8 > 4)) continue;
      const QRgb want = Expected(content, x, y), got = image.pixel(x, y);
      ASSERT_EQ(qAlpha(got), qAlpha(want)) << x << "," << y;
      if (qAlpha(want) == 0) continue;
      ASSERT_NEAR(qRed(got), qRed(want), tolerance) << x << "," << y;
      ASSERT_NEAR(qGreen(got), qGreen(want), tolerance) << x << "," << y;
      ASSERT_NEAR(qBlue(got), qBlue(want), tolerance) << x << "," << y;
    }
}

Ref<Picture> Decode(const QString& path) { return DecodePictureFile(path.toStdString()); }

struct FormatCase {
  const char* file;
  Content content;
  int tolerance = 0;
  bool lossy = false;
};

class DecodesFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(DecodesFormat, ThePatternAtFullSize) {
  const FormatCase& c = GetParam();
  const Ref<Picture> picture = Decode(kFixtures + c.file);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Image().opaque, c.content != kRgba);
  EXPECT_FALSE(picture->Image().blank);
  ExpectPattern(ImageOf(*picture), c.content, c.tolerance, c.lossy);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, DecodesFormat,
    testing::Values(FormatCase{"jpeg_rgb.jpg", kRgb, 12, true},
                    FormatCase{"jpeg_progressive.jpg", kRgb, 12, true},
                    FormatCase{"jpeg_gray.jpg", kGray, 4, true},
                    FormatCase{"jpeg_cmyk.jpg", kRgb, 12, true},
                    FormatCase{"png_rgb8.png", kRgb}, FormatCase{"png_rgba8.png", kRgba},
                    FormatCase{"png_rgb16.png", kRgb}, FormatCase{"png_rgba16.png", kRgba},
                    FormatCase{"png_gray8.png", kGray}, FormatCase{"png_indexed.png", kRgb},
                    FormatCase{"bmp_rgb.bmp", kRgb}, FormatCase{"bmp_rgba.bmp", kRgba},
                    FormatCase{"gif_two_frames.gif", kRgb},  // the first frame
                    FormatCase{"tiff_rgb8.tif", kRgb},
                    // Qt reads 8-bit TIFF alpha premultiplied: a unit off.
                    FormatCase{"tiff_rgba8.tif", kRgba, 1},
                    FormatCase{"tiff_rgb16.tif", kRgb}, FormatCase{"tiff_rgba16.tif", kRgba},
                    FormatCase{"tiff_orient6.tif", kRgb},
                    FormatCase{"webp_rgba.webp", kRgba},
                    FormatCase{"webp_lossy.webp", kRgb, 12, true},
                    FormatCase{"tga_rgb.tga", kRgb}, FormatCase{"tga_rgba.tga", kRgba},
                    FormatCase{"tga_rle.tga", kRgba},
                    FormatCase{"psd_rgb8.psd", kRgb}, FormatCase{"psd_rgba8.psd", kRgba},
                    FormatCase{"psd_rgb16.psd", kRgb}, FormatCase{"psd_rgba16_raw.psd", kRgba},
                    FormatCase{"psd_gray8.psd", kGray}, FormatCase{"psb_rgba8.psb", kRgba},
                    FormatCase{"sgi_rgb8.sgi", kRgb}, FormatCase{"sgi_rgba8.sgi", kRgba},
                    FormatCase{"sgi_rgb16.sgi", kRgb}),
    [](const testing::TestParamInfo<FormatCase>& info) {
      std::string name = info.param.file;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

QByteArray Read(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

// A JPEG of the given pixels written by Qt, with an EXIF orientation tag.
QByteArray JpegWithOrientation(const QImage& stored, int orientation) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(stored.save(&buffer, "JPEG", 100));
  return WithExifOrientation(jpeg, orientation);
}

TEST(DecodePictureFile, AppliesTheExifOrientation) {
  // For each tag, where a stored pixel (x, y) of a w x h picture is shown.
  struct Case {
    int orientation;
    bool turned;  // stored 24 x 32
    QPoint (*shown)(int x, int y, int w, int h);
  };
  const Case cases[] = {
      {1, false, [](int x, int y, int, int) { return QPoint(x, y); }},
      {2, false, [](int x, int y, int w, int) { return QPoint(w - 1 - x, y); }},
      {3, false, [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); }},
      {4, false, [](int x, int y, int, int h) { return QPoint(x, h - 1 - y); }},
      {5, true, [](int x, int y, int, int) { return QPoint(y, x); }},
      {6, true, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); }},
      {7, true, [](int x, int y, int w, int h) { return QPoint(h - 1 - y, w - 1 - x); }},
      {8, true, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); }},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation);
    const int w = c.turned ? kHeight : kWidth, h = c.turned ? kWidth : kHeight;
    QImage stored(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const QPoint shown = c.shown(x, y, w, h);
        stored.setPixel(x, y, Expected(kRgb, shown.x(), shown.y()));
      }
    const Ref<Picture> picture =
        Decode(Write(dir, "oriented.jpg", JpegWithOrientation(stored, c.orientation)));
    ASSERT_TRUE(picture);
    ExpectPattern(ImageOf(*picture), kRgb, 12, true);
  }
}

// A fixture with big-endian (or little-endian) 16-bit values written at the offsets.
QByteArray Patched(const char* fixture, std::vector<int> offsets, uint16_t value, bool bigEndian) {
  QByteArray bytes = Read(kFixtures + fixture);
  for (int at : offsets) {
    bytes[at + (bigEndian ? 0 : 1)] = char(value >> 8);
    bytes[at + (bigEndian ? 1 : 0)] = char(value & 0xFF);
  }
  return bytes;
}

// Offset of the first JPEG start-of-frame's height field.
int JpegFrameSize(const QByteArray& jpeg) {
  for (int i = 2; i + 1 < jpeg.size(); ++i)
    if (uint8_t(jpeg[i]) == 0xFF && (uint8_t(jpeg[i + 1]) == 0xC0 || uint8_t(jpeg[i + 1]) == 0xC2))
      return i + 5;
  return -1;
}

QByteArray Truncated(const char* fixture, double keep) {
  const QByteArray bytes = Read(kFixtures + fixture);
  return bytes.left(qsizetype(bytes.size() * keep));
}

QByteArray RandomBytes(int count) {
  std::mt19937 random(20240601);
  QByteArray bytes(count, 0);
  for (char& b : bytes) b = char(random());
  return bytes;
}

QByteArray PngWithBadCrc() {
  QByteArray png = Read(kFixtures + "png_rgb8.png");
  const int idat = int(png.indexOf("IDAT"));
  png[idat + 10] = char(png[idat + 10] ^ 0x55);  // inside the compressed data
  return png;
}

// A JPEG whose entropy-coded data is followed by bytes that belong to no
// segment, before its end marker.
QByteArray JpegWithStrayBytes() {
  const QByteArray jpeg = Read(kFixtures + "jpeg_rgb.jpg");
  return jpeg.chopped(2) + QByteArray(64, '\x55') + jpeg.right(2);
}

// A valid 8 x 8 gray progressive JPEG of 631 scans: its DC, then each AC
// coefficient in a first scan and in nine refinements a bit at a time.
QByteArray JpegOf631Scans() {
  std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
  for (int k = 1; k < 64; ++k) {
    scans.push_back({1, {0}, k, k, 0, 9});
    for (int bit = 8; bit >= 0; --bit) scans.push_back({1, {0}, k, k, bit + 1, bit});
  }
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &jpeg, &size);
  info.image_width = info.image_height = 8;
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  info.scan_info = scans.data();
  info.num_scans = int(scans.size());
  jpeg_start_compress(&info, TRUE);
  unsigned char rows[8][8];
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) rows[y][x] = uint8_t(x * 31 ^ y * 17);
  for (JSAMPROW row : rows) jpeg_write_scanlines(&info, &row, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const QByteArray bytes(reinterpret_cast<const char*>(jpeg), qsizetype(size));
  std::free(jpeg);
  return bytes;
}

struct DamageCase {
  const char* name;
  const char* file;  // written into a temporary folder, unless missing
  std::function<QByteArray()> bytes;
};

class RefusesDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(RefusesDamage, WithNil) {
  const DamageCase& c = GetParam();
  QTemporaryDir dir;
  const QString path = c.bytes ? Write(dir, c.file, c.bytes()) : dir.filePath(c.file);
  EXPECT_FALSE(Decode(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusesDamage,
    testing::Values(
        DamageCase{"missing", "missing.png", nullptr},
        DamageCase{"empty", "empty.png", [] { return QByteArray(); }},
        DamageCase{"text", "notes.txt", [] { return QByteArray("Tile sizes:\n256 x 256\n"); }},
        DamageCase{"text_named_as_targa", "notes.tga",
                   [] { return QByteArray("Tile sizes:\n256 x 256\n"); }},
        DamageCase{"random_bytes", "noise.bin", [] { return RandomBytes(5000); }},
        DamageCase{"random_bytes_named_as_jpeg", "noise.jpg", [] { return RandomBytes(5000); }},
        DamageCase{"truncated_jpeg", "cut.jpg", [] { return Truncated("jpeg_rgb.jpg", 0.6); }},
        DamageCase{"truncated_progressive_jpeg", "cut.jpg",
                   [] { return Truncated("jpeg_progressive.jpg", 0.6); }},
        DamageCase{"truncated_cmyk_jpeg", "cut.jpg",
                   [] { return Truncated("jpeg_cmyk.jpg", 0.85); }},
        DamageCase{"jpeg_header_only", "head.jpg", [] { return Truncated("jpeg_rgb.jpg", 0.05); }},
        DamageCase{"jpeg_stray_bytes_before_its_end", "stray.jpg", JpegWithStrayBytes},
        // Each scan goes over every coefficient again: more than 500 are refused.
        DamageCase{"jpeg_631_scans", "scans.jpg", JpegOf631Scans},
        DamageCase{"png_bad_crc", "crc.png", PngWithBadCrc},
        DamageCase{"truncated_png", "cut.png", [] { return Truncated("png_rgb8.png", 0.7); }},
        DamageCase{"truncated_gif", "cut.gif", [] { return Truncated("gif_two_frames.gif", 0.3); }},
        DamageCase{"truncated_bmp", "cut.bmp", [] { return Truncated("bmp_rgb.bmp", 0.5); }},
        DamageCase{"truncated_tiff", "cut.tif", [] { return Truncated("tiff_rgb8.tif", 0.5); }},
        DamageCase{"truncated_webp", "cut.webp", [] { return Truncated("webp_lossy.webp", 0.6); }},
        DamageCase{"truncated_targa", "cut.tga", [] { return Truncated("tga_rgb.tga", 0.5); }},
        DamageCase{"truncated_targa_rle", "cut.tga", [] { return Truncated("tga_rle.tga", 0.5); }},
        DamageCase{"truncated_psd", "cut.psd", [] { return Truncated("psd_rgb8.psd", 0.8); }},
        DamageCase{"truncated_psd_raw", "cut.psd",
                   [] { return Truncated("psd_rgba16_raw.psd", 0.8); }},
        DamageCase{"truncated_sgi", "cut.sgi", [] { return Truncated("sgi_rgb8.sgi", 0.6); }},
        DamageCase{"truncated_sgi_verbatim", "cut.sgi",
                   [] { return Truncated("sgi_rgb16.sgi", 0.6); }}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

TEST(DecodePictureFile, RefusesAFolder) {
  QTemporaryDir dir;
  EXPECT_FALSE(Decode(dir.path()));
}

TEST(DecodePictureFile, TakesSidesUpTo32767) {
  QTemporaryDir dir;
  for (const char* format : {"jpg", "png", "bmp", "tif"})
    for (int side : {32767, 32768})
      for (bool wide : {true, false}) {
        SCOPED_TRACE(testing::Message() << format << " " << side << (wide ? " wide" : " high"));
        QImage image(wide ? side : 2, wide ? 2 : side, QImage::Format_RGB32);
        image.fill(0xFF336699);
        const QString path = dir.filePath(QStringLiteral("side.") + format);
        ASSERT_TRUE(image.save(path));
        const Ref<Picture> picture = Decode(path);
        ASSERT_EQ(picture != nullptr, side == 32767);
        if (picture) {
          EXPECT_EQ(QSize(picture->Width(), picture->Height()), image.size());
        }
      }
}

// Headers that claim a side above 32767 are refused from the header alone
// (a 100000 x 100000 picture would need 40 GB).
class RefusesOversize : public testing::TestWithParam<DamageCase> {};

TEST_P(RefusesOversize, FromTheHeader) {
  const DamageCase& c = GetParam();
  QTemporaryDir dir;
  EXPECT_FALSE(Decode(Write(dir, c.file, c.bytes())));
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RefusesOversize,
    testing::Values(
        DamageCase{"png_100000", "big.png", [] { return PngClaiming(100000, 100000); }},
        DamageCase{"png_32768_wide", "wide.png", [] { return PngClaiming(32768, 1); }},
        DamageCase{"jpeg_40000", "big.jpg",
                   [] {
                     const QByteArray jpeg = Read(kFixtures + "jpeg_rgb.jpg");
                     const int at = JpegFrameSize(jpeg);
                     return Patched("jpeg_rgb.jpg", {at, at + 2}, 40000, true);
                   }},
        DamageCase{"psd_40000", "big.psd",
                   [] { return Patched("psd_rgb8.psd", {16, 20}, 40000, true); }},
        DamageCase{"sgi_40000", "big.sgi",
                   [] { return Patched("sgi_rgb8.sgi", {6, 8}, 40000, true); }},
        DamageCase{"gif_40000", "big.gif",
                   [] { return Patched("gif_two_frames.gif", {6, 8}, 40000, false); }},
        DamageCase{"tga_40000", "big.tga",
                   [] { return Patched("tga_rgb.tga", {12, 14}, 40000, false); }}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

// Caps the address space a little above what the process uses now, so that
// every large allocation fails; lifted again when it goes.
class AddressSpaceCap {
 public:
  explicit AddressSpaceCap(rlim_t headroom) {
    getrlimit(RLIMIT_AS, &saved_);
    rlim_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit cap = saved_;
    cap.rlim_cur = pages * rlim_t(sysconf(_SC_PAGESIZE)) + headroom;
    EXPECT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
  }
  ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &saved_); }

 private:
  rlimit saved_;
};

TEST(DecodePictureFile, PicturesThatMemoryCannotHoldAreNil) {
  // Files that claim 30000 x 30000 pixels (3.6 GB), a size that is allowed:
  // under the cap the decoders cannot get the picture's memory, and must say
  // so with Nil rather than throw or crash.
  const std::pair<const char*, QByteArray> files[] = {
      {"big.jpg", [] {
         const int at = JpegFrameSize(Read(kFixtures + "jpeg_rgb.jpg"));
         return Patched("jpeg_rgb.jpg", {at, at + 2}, 30000, true);
       }()},
      {"big.png", PngClaiming(30000, 30000)},
      {"big.psd", Patched("psd_rgb8.psd", {16, 20}, 30000, true)},
      {"big.bmp", Patched("bmp_rgb.bmp", {18, 22}, 30000, false)},
  };
  QTemporaryDir dir;
  std::vector<QString> paths;
  for (const auto& [name, bytes] : files) paths.push_back(Write(dir, name, bytes));
  // Loads the decoders' libraries and plug-ins before the cap.
  for (const char* fixture : {"jpeg_rgb.jpg", "png_rgb8.png", "psd_rgb8.psd", "bmp_rgb.bmp"})
    ASSERT_TRUE(Decode(kFixtures + fixture));

  const AddressSpaceCap cap(rlim_t(512) << 20);
  EXPECT_FALSE(NewPicture(32767, 32767, 32));
  for (const QString& path : paths) EXPECT_FALSE(Decode(path)) << path.toStdString();
  EXPECT_TRUE(NewPicture(538, 284, 32));
}

// An 8-bit grayscale PSD of side x side pixels: header, empty sections, then
// the compression and what follows it.
QByteArray PsdClaiming(uint32_t side, uint16_t compression, const QByteArray& rest) {
  return QByteArray("8BPS\0\1\0\0\0\0\0\0\0\1", 14) + BigEndian(side, 4) + BigEndian(side, 4) +
         BigEndian(8, 2) + BigEndian(1, 2) + QByteArray(12, 0) + BigEndian(compression, 2) + rest;
}

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(DecodePictureFile, RefusesAPsdWithoutItsRowsBeforeTakingThePicturesMemory) {
  // 32767 x 32767 pixels would take 4 GB; the files hold a few rows at most.
  constexpr uint32_t kSide = 32767;
  auto packedSizes = [](uint16_t size) {
    QByteArray sizes;
    for (uint32_t y = 0; y < kSide; ++y) sizes += BigEndian(size, 2);
    return sizes;
  };
  QByteArray packedRow;  // 255 runs of 128 zeros and one of 127: 512 bytes
  for (int run = 0; run < 255; ++run) packedRow += QByteArray("\x81\0", 2);
  packedRow += QByteArray("\x82\0", 2);
  const std::pair<const char*, QByteArray> files[] = {
      {"raw", PsdClaiming(kSide, 0, QByteArray(4 * kSide, '\x80'))},
      // 2 bytes unpack to 128 at most: too short for any row.
      {"packbits_rows_too_short", PsdClaiming(kSide, 1, packedSizes(2) + packedRow)},
      {"packbits_rows_missing", PsdClaiming(kSide, 1, packedSizes(512) + packedRow.repeated(4))},
  };
  QTemporaryDir dir;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const QString path = Write(dir, "claims.psd", bytes);
    const long peak = PeakResidentKiB();
    EXPECT_FALSE(Decode(path));
    EXPECT_LT(PeakResidentKiB() - peak, 256 << 10);
  }
}

}  // namespace
