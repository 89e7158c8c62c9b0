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

#include <fstream>
#include <functional>
#include <random>

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
                    FormatCase{"tga_mapped_rle.tga", kRgb}, FormatCase{"tga_gray.tga", kGray},
                    FormatCase{"psd_rgb8.psd", kRgb}, FormatCase{"psd_rgba8.psd", kRgba},
                    FormatCase{"psd_rgb16.psd", kRgb}, FormatCase{"psd_rgba16_raw.psd", kRgba},
                    FormatCase{"psd_gray8.psd", kGray}, FormatCase{"psb_rgba8.psb", kRgba},
                    FormatCase{"sgi_rgb8.sgi", kRgb}, FormatCase{"sgi_rgba8.sgi", kRgba},
                    FormatCase{"sgi_rgb16.sgi", kRgb}, FormatCase{"sgi_gray8.sgi", kGray}),
    [](const testing::TestParamInfo<FormatCase>& info) {
      std::string name = info.param.file;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// Little files of the layouts that the fixtures' writers do not make: every
// pixel, in rows from the top, as decoded.
struct LayoutCase {
  const char* name;
  const char* file;
  std::function<QByteArray()> bytes;
  int width, height;
  std::vector<QRgb> pixels;
  bool opaque;

  friend void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }
};

class DecodesLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(DecodesLayout, EveryPixel) {
  const LayoutCase& c = GetParam();
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, c.file, c.bytes()));
  ASSERT_TRUE(picture);
  ASSERT_EQ(QSize(picture->Width(), picture->Height()), QSize(c.width, c.height));
  EXPECT_EQ(picture->Image().opaque, c.opaque);
  std::vector<QRgb> pixels;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) pixels.push_back(ImageOf(*picture).pixel(x, y));
  EXPECT_EQ(pixels, c.pixels);
}

QByteArray Words(std::initializer_list<uint32_t> values, int bytes, bool bigEndian) {
  QByteArray out;
  for (uint32_t value : values) out += bigEndian ? BigEndian(value, bytes) : LittleEndian(value, bytes);
  return out;
}
QByteArray Le16(std::initializer_list<uint32_t> values) { return Words(values, 2, false); }
QByteArray Be16(std::initializer_list<uint32_t> values) { return Words(values, 2, true); }
QByteArray Be32(std::initializer_list<uint32_t> values) { return Words(values, 4, true); }
QByteArray Bytes(std::initializer_list<uint8_t> values) {
  QByteArray out;
  for (uint8_t value : values) out += char(value);
  return out;
}

// TARGA descriptors: alpha bits, and where the rows start.
constexpr int kAlphaBit = 1, kAlphaByte = 8, kRightToLeft = 0x10, kTopFirst = 0x20;

INSTANTIATE_TEST_SUITE_P(
    Files, DecodesLayout,
    testing::Values(
        // Rows from the bottom: red with its alpha bit clear, green, then blue, white.
        LayoutCase{"targa_16_bits_alpha_bit", "a.tga",
                   [] { return Targa(2, 2, 2, 16, kAlphaBit, Le16({0x7C00, 0x83E0, 0x801F, 0xFFFF})); },
                   2, 2, {qRgb(0, 0, 255), qRgb(255, 255, 255), qRgba(255, 0, 0, 0), qRgb(0, 255, 0)},
                   false},
        // The top bit is no alpha in 15 bits; five bits of 16 give 132.
        LayoutCase{"targa_15_bits", "a.tga",
                   [] { return Targa(2, 2, 2, 15, 0, Le16({0x7C00, 0x83E0, 0x801F, 0x4210})); },
                   2, 2, {qRgb(0, 0, 255), qRgb(132, 132, 132), qRgb(255, 0, 0), qRgb(0, 255, 0)},
                   true},
        // No attribute bits: the fourth byte is no alpha.
        LayoutCase{"targa_32_bits_without_alpha_bits", "a.tga",
                   [] { return Targa(2, 2, 1, 32, kTopFirst, Bytes({1, 2, 3, 0, 4, 5, 6, 9})); },
                   2, 1, {qRgb(3, 2, 1), qRgb(6, 5, 4)}, true},
        LayoutCase{"targa_right_to_left_top_first", "a.tga",
                   [] {
                     return Targa(2, 2, 2, 24, kTopFirst | kRightToLeft,
                                  Bytes({1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}));
                   },
                   2, 2, {qRgb(2, 2, 2), qRgb(1, 1, 1), qRgb(4, 4, 4), qRgb(3, 3, 3)}, true},
        LayoutCase{"targa_mapped_16_bit_entries_from_index_2", "a.tga",
                   [] {
                     return Targa(1, 2, 2, 8, kTopFirst | kAlphaBit, Bytes({2, 3, 3, 2}),
                                  {2, 16, Le16({0x7C00, 0x83E0})});
                   },
                   2, 2, {qRgba(255, 0, 0, 0), qRgb(0, 255, 0), qRgb(0, 255, 0), qRgba(255, 0, 0, 0)},
                   false},
        LayoutCase{"targa_mapped_32_bit_entries_run_length", "a.tga",
                   [] {
                     return Targa(9, 2, 2, 8, kTopFirst | kAlphaByte, Bytes({0x81, 0, 0x81, 1}),
                                  {0, 32, Bytes({0, 0, 255, 128, 255, 0, 0, 255})});
                   },
                   2, 2, {qRgba(255, 0, 0, 128), qRgba(255, 0, 0, 128), qRgb(0, 0, 255), qRgb(0, 0, 255)},
                   false},
        LayoutCase{"targa_gray_16_bits_with_alpha", "a.tga",
                   [] { return Targa(3, 2, 2, 16, kTopFirst | kAlphaByte, Bytes({10, 255, 20, 128, 30, 0, 40, 255})); },
                   2, 2, {qRgb(10, 10, 10), qRgba(20, 20, 20, 128), qRgba(30, 30, 30, 0), qRgb(40, 40, 40)},
                   false},
        // A run of three and a raw pixel, the run across the rows.
        LayoutCase{"targa_packets_across_rows", "a.tga",
                   [] { return Targa(10, 2, 2, 24, kTopFirst, Bytes({0x82, 1, 2, 3, 0x00, 4, 5, 6})); },
                   2, 2, {qRgb(3, 2, 1), qRgb(3, 2, 1), qRgb(3, 2, 1), qRgb(6, 5, 4)}, true},
        // Gray, alpha and an extra channel that is not shown, rows from the top.
        LayoutCase{"psd_gray_alpha_extra_channel", "a.psd",
                   [] { return PsdClaiming(2, 2, 0, Bytes({10, 20, 30, 40, 255, 128, 0, 255, 1, 2, 3, 4}), 3); },
                   2, 2, {qRgb(10, 10, 10), qRgba(20, 20, 20, 128), qRgba(30, 30, 30, 0), qRgb(40, 40, 40)},
                   false},
        // Channels one after the other, rows from the bottom.
        LayoutCase{"sgi_gray_alpha_verbatim", "a.sgi",
                   [] { return Sgi(false, 1, 3, 2, 2, 2, Bytes({10, 20, 30, 40, 255, 128, 0, 255})); },
                   2, 2, {qRgba(30, 30, 30, 0), qRgb(40, 40, 40), qRgb(10, 10, 10), qRgba(20, 20, 20, 128)},
                   false},
        // 16-bit samples rounded to 8 bits: 25828 and 128 down, 25829 and 129 up.
        LayoutCase{"sgi_rgba_16_bits_run_length", "a.sgi",
                   [] {
                     const QByteArray rows[] = {Be16({0x82, 25828, 25829, 0}), Be16({0x02, 65535, 0}),
                                                Be16({0x82, 1799, 128, 0}), Be16({0x82, 65535, 129, 0})};
                     QByteArray starts, lengths, data;
                     for (const QByteArray& row : rows) {
                       starts += Be32({uint32_t(512 + 32 + data.size())});
                       lengths += Be32({uint32_t(row.size())});
                       data += row;
                     }
                     return Sgi(true, 2, 3, 2, 1, 4, starts + lengths + data);
                   },
                   2, 1, {qRgba(100, 255, 7, 255), qRgba(101, 255, 0, 1)}, false},
        // One row: the height and depth fields are not read.
        LayoutCase{"sgi_one_dimension", "a.sgi", [] { return Sgi(false, 1, 1, 2, 7, 3, Bytes({50, 60})); },
                   2, 1, {qRgb(50, 50, 50), qRgb(60, 60, 60)}, true}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

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

// A JPEG of the given pixels written by Qt, with an EXIF orientation tag
// inserted after the start marker.
QByteArray JpegWithOrientation(const QImage& stored, int orientation) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(stored.save(&buffer, "JPEG", 100));
  const char exif[] = {
      '\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0,      // APP1, length 34
      'M', 'M', 0, 42, 0, 0, 0, 8,                          // big-endian TIFF header
      0, 1,                                                 // one entry
      1, 0x12, 0, 3, 0, 0, 0, 1, 0, char(orientation), 0, 0,  // Orientation, SHORT
      0, 0, 0, 0};                                          // no next directory
  return jpeg.left(2) + QByteArray(exif, sizeof exif) + jpeg.mid(2);
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
                   [] { return Truncated("sgi_rgb16.sgi", 0.6); }},
        // Gray, alpha and an extra channel whose rows the file lacks.
        DamageCase{"psd_extra_channel_missing", "extra.psd",
                   [] { return PsdClaiming(2, 2, 0, QByteArray(8, 'x'), 3); }},
        DamageCase{"psd_packbits_extra_channel_missing", "extra.psd",
                   [] { return PsdClaiming(2, 2, 1, Be16({2}).repeated(6) + QByteArray("\xFF\7").repeated(4), 3); }},
        DamageCase{"targa_run_past_the_picture", "run.tga",
                   [] { return Targa(10, 2, 2, 24, 0, Bytes({0x84, 1, 2, 3})); }},
        // Enough bytes for the least that four pixels take, but the run has no pixel.
        DamageCase{"targa_run_past_the_file", "run.tga",
                   [] { return Targa(10, 2, 2, 24, 0, Bytes({0x00, 1, 2, 3, 0x82})); }},
        DamageCase{"targa_index_outside_the_map", "map.tga",
                   [] { return Targa(1, 2, 2, 8, 0, Bytes({0, 1, 2, 0}), {0, 24, Bytes({1, 2, 3, 4, 5, 6})}); }},
        DamageCase{"targa_mapped_without_a_map", "map.tga",
                   [] { return Targa(1, 2, 2, 8, 0, Bytes({0, 0, 0, 0})); }},
        DamageCase{"sgi_row_past_the_file", "row.sgi",
                   [] { return SgiSharingOneRow(2, 2, 3, Bytes({0x02, 7, 0}), 3, 4096); }},
        // A row of 2 samples takes at most 5 bytes: two packets of one and the end.
        DamageCase{"sgi_row_too_long_for_its_width", "row.sgi",
                   [] { return SgiSharingOneRow(2, 2, 3, Bytes({0x02, 7, 0, 0, 0, 0}), 6); }},
        DamageCase{"sgi_row_short_of_its_width", "row.sgi",
                   [] { return SgiSharingOneRow(2, 2, 3, Bytes({0x01, 7, 0}), 3); }},
        DamageCase{"sgi_row_past_its_width", "row.sgi",
                   [] { return SgiSharingOneRow(2, 2, 3, Bytes({0x03, 7, 0}), 3); }}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

// Every picture's data ends its file, so every shorter part of the file is
// damaged: cut anywhere in its headers, tables and first rows, or at every
// seventh byte after them, it must give Nil.
TEST(DecodePictureFile, RefusesEveryCutOfTheFilesOfItsOwnReaders) {
  QTemporaryDir dir;
  for (const char* fixture : {"tga_rgb.tga", "tga_rle.tga", "tga_mapped_rle.tga", "sgi_rgb8.sgi",
                              "sgi_rgb16.sgi", "sgi_gray8.sgi", "psd_rgb8.psd", "psb_rgba8.psb"}) {
    const QByteArray bytes = Read(kFixtures + fixture);
    const QString name = QStringLiteral("cut.") + QString(fixture).section('.', -1);
    for (qsizetype size = 0; size < bytes.size(); size += size < 600 ? 1 : 7)
      ASSERT_FALSE(Decode(Write(dir, name, bytes.left(size)))) << fixture << " cut to " << size;
  }
}

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
      {"raw", PsdClaiming(kSide, kSide, 0, QByteArray(4 * kSide, '\x80'))},
      // 2 bytes unpack to 128 at most: too short for any row.
      {"packbits_rows_too_short", PsdClaiming(kSide, kSide, 1, packedSizes(2) + packedRow)},
      {"packbits_rows_missing", PsdClaiming(kSide, kSide, 1, packedSizes(512) + packedRow.repeated(4))},
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
