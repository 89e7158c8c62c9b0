// Decoding picture files: every format the program writes, with and without
// alpha, 8 and 16 bits a channel, EXIF orientation; damaged and oversized
// files give Nil.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>

#include <jpeglib.h>

#include "AddressSpaceCap.h"
#include "BmpBytes.h"
#include "ByteOrder.h"
#include "FileBytes.h"
#include "GifBytes.h"
#include "PeakMemory.h"
#include "PictureBytes.h"
#include "TestNames.h"
#include "TiffBytes.h"
#include "WebpBytes.h"
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
                    FormatCase{"tiff_rgba8.tif", kRgba},
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
                    FormatCase{"sgi_rgb16.sgi", kRgb},
                    // Interlaced PNGs, OS/2 and RLE8 BMPs.
                    FormatCase{"png_interlaced8.png", kRgba},
                    FormatCase{"png_interlaced16.png", kRgba},
                    FormatCase{"bmp_os2.bmp", kRgb}, FormatCase{"bmp_rle8.bmp", kRgb},
                    FormatCase{"sgi_gray8.sgi", kGray}),
    [](const testing::TestParamInfo<FormatCase>& info) { return TestNameOf(info.param.file); });

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

// For each orientation tag, where a stored pixel (x, y) of a w x h picture
// is shown.
struct Orientation {
  int tag;
  bool turned;  // the shown picture is h x w
  QPoint (*shown)(int x, int y, int w, int h);
};
constexpr Orientation kOrientations[] = {
    {1, false, [](int x, int y, int, int) { return QPoint(x, y); }},
    {2, false, [](int x, int y, int w, int) { return QPoint(w - 1 - x, y); }},
    {3, false, [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); }},
    {4, false, [](int x, int y, int, int h) { return QPoint(x, h - 1 - y); }},
    {5, true, [](int x, int y, int, int) { return QPoint(y, x); }},
    {6, true, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); }},
    {7, true, [](int x, int y, int w, int h) { return QPoint(h - 1 - y, w - 1 - x); }},
    {8, true, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); }},
};

TEST(DecodePictureFile, AppliesTheExifOrientation) {
  QTemporaryDir dir;
  for (const Orientation& c : kOrientations) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.tag);
    const int w = c.turned ? kHeight : kWidth, h = c.turned ? kWidth : kHeight;
    QImage stored(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const QPoint shown = c.shown(x, y, w, h);
        stored.setPixel(x, y, Expected(kRgb, shown.x(), shown.y()));
      }
    const Ref<Picture> picture =
        Decode(Write(dir, "oriented.jpg", JpegWithOrientation(stored, c.tag)));
    ASSERT_TRUE(picture);
    ExpectPattern(ImageOf(*picture), kRgb, 12, true);
  }
}

TEST(DecodePictureFile, AppliesTheTiffOrientation) {
  // 70 stored rows: more than one band of a turned picture's rows, the last
  // one short.
  constexpr int kStoredWidth = 45, kStoredHeight = 70;
  auto level = [](int x, int y, int s) { return uint32_t(x * 5 + y * 3 + s * 85) & 0xFF; };
  QTemporaryDir dir;
  for (const Orientation& c : kOrientations) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.tag);
    TiffWriting writing;
    writing.width = kStoredWidth;
    writing.height = kStoredHeight;
    writing.orientation = uint16_t(c.tag);
    writing.sample = level;
    const Ref<Picture> picture = Decode(Write(dir, "oriented.tif", WriteTiff(writing)));
    ASSERT_TRUE(picture);
    const QImage& image = ImageOf(*picture);
    ASSERT_EQ(image.size(), c.turned ? QSize(kStoredHeight, kStoredWidth)
                                     : QSize(kStoredWidth, kStoredHeight));
    for (int y = 0; y < kStoredHeight; ++y)
      for (int x = 0; x < kStoredWidth; ++x) {
        const QPoint shown = c.shown(x, y, kStoredWidth, kStoredHeight);
        ASSERT_EQ(image.pixel(shown), qRgb(level(x, y, 0), level(x, y, 1), level(x, y, 2)))
            << x << "," << y;
      }
  }
}

// The fixtures' pattern as samples of a TIFF: gray levels, indices into a
// palette of the blocks' colours, RGB (also given to libtiff for YCbCr), or
// CMYK inks with as much black as each colour allows; alpha after the
// colours, which are premultiplied by it when it is associated.
uint32_t PatternSample(const TiffWriting& w, int x, int y, int s) {
  const int k = Block(x, y);
  const uint32_t wide = w.bits == 16 ? 257 : 1, max = 255 * wide;
  const bool associated = !w.extraSamples.empty() && w.extraSamples[0] == EXTRASAMPLE_ASSOCALPHA;
  const uint32_t alpha = kAlpha[k] * wide;
  const int colours = w.photometric == PHOTOMETRIC_SEPARATED ? 4
                      : w.photometric == PHOTOMETRIC_RGB || w.photometric == PHOTOMETRIC_YCBCR
                          ? 3
                          : 1;
  if (s >= colours)  // an alpha, or an extra sample of no given meaning
    return w.extraSamples[s - colours] == EXTRASAMPLE_UNSPECIFIED ? 85 * wide : alpha;
  switch (w.photometric) {
    case PHOTOMETRIC_MINISBLACK: return 23 * k * wide;
    case PHOTOMETRIC_MINISWHITE: return max - 23 * k * wide;
    case PHOTOMETRIC_PALETTE: return uint32_t(k);
    case PHOTOMETRIC_SEPARATED: {
      const int rgb[] = {kRed[k], kGreen[k], kBlue[k]};
      const int black = 255 - std::max({rgb[0], rgb[1], rgb[2]});
      if (s == 3) return black * wide;
      return black == 255 ? 0 : (255 - rgb[s] - black) * 255 / (255 - black) * wide;
    }
    default: {
      const uint32_t colour = uint32_t(s == 0 ? kRed[k] : s == 1 ? kGreen[k] : kBlue[k]) * wide;
      return associated ? (colour * alpha + max / 2) / max : colour;
    }
  }
}

// The blocks' colours as a colour map of 16-bit levels.
std::vector<uint16_t> PatternColormap(int bits) {
  const size_t entries = size_t(1) << bits;
  std::vector<uint16_t> map(3 * entries, 0);
  for (int k = 0; k < 12; ++k) {
    map[k] = uint16_t(kRed[k] * 257);
    map[entries + k] = uint16_t(kGreen[k] * 257);
    map[2 * entries + k] = uint16_t(kBlue[k] * 257);
  }
  return map;
}

struct TiffCase {
  const char* name;
  TiffWriting writing;  // its sample function is the pattern's
  Content content;
  int tolerance = 0;
  bool lossy = false;
};

TiffWriting Kind(uint16_t photometric, int bits, int samples, uint16_t compression,
                 std::vector<uint16_t> extraSamples = {}) {
  TiffWriting w;
  w.photometric = photometric;
  w.bits = bits;
  w.samples = samples;
  w.compression = compression;
  w.extraSamples = std::move(extraSamples);
  if (photometric == PHOTOMETRIC_PALETTE) w.colormap = PatternColormap(bits);
  return w;
}

TiffWriting Planar(TiffWriting w) {
  w.planar = true;
  return w;
}

TiffWriting Tiled(TiffWriting w) {
  w.tileSide = 16;  // the bottom row of tiles reaches past the picture
  return w;
}

TiffWriting Striped(TiffWriting w) {
  w.rowsPerStrip = 5;
  return w;
}

class DecodesTiff : public testing::TestWithParam<TiffCase> {};

TEST_P(DecodesTiff, ThePatternAtFullSize) {
  const TiffCase& c = GetParam();
  TiffWriting writing = c.writing;
  writing.sample = [&writing](int x, int y, int s) { return PatternSample(writing, x, y, s); };
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, "kind.tif", WriteTiff(writing)));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Image().opaque, c.content != kRgba);
  ExpectPattern(ImageOf(*picture), c.content, c.tolerance, c.lossy);
}

constexpr uint16_t kUnassociated = EXTRASAMPLE_UNASSALPHA, kAssociated = EXTRASAMPLE_ASSOCALPHA,
                   kUnspecified = EXTRASAMPLE_UNSPECIFIED;

INSTANTIATE_TEST_SUITE_P(
    Kinds, DecodesTiff,
    testing::Values(
        TiffCase{"gray8", Kind(PHOTOMETRIC_MINISBLACK, 8, 1, COMPRESSION_NONE), kGray},
        TiffCase{"gray16_deflate", Kind(PHOTOMETRIC_MINISBLACK, 16, 1, COMPRESSION_ADOBE_DEFLATE),
                 kGray},
        TiffCase{"gray8_min_is_white_packbits",
                 Kind(PHOTOMETRIC_MINISWHITE, 8, 1, COMPRESSION_PACKBITS), kGray},
        TiffCase{"palette8_lzw", Kind(PHOTOMETRIC_PALETTE, 8, 1, COMPRESSION_LZW), kRgb},
        TiffCase{"rgb8_planar_deflate", Planar(Kind(PHOTOMETRIC_RGB, 8, 3, COMPRESSION_DEFLATE)),
                 kRgb},
        TiffCase{"rgb16_strips_lzw", Striped(Kind(PHOTOMETRIC_RGB, 16, 3, COMPRESSION_LZW)), kRgb},
        TiffCase{"rgb16_planar_tiles",
                 Planar(Tiled(Kind(PHOTOMETRIC_RGB, 16, 3, COMPRESSION_ADOBE_DEFLATE))), kRgb},
        TiffCase{"rgba8_tiles_lzw",
                 Tiled(Kind(PHOTOMETRIC_RGB, 8, 4, COMPRESSION_LZW, {kUnassociated})), kRgba},
        TiffCase{"rgba8_associated", Kind(PHOTOMETRIC_RGB, 8, 4, COMPRESSION_NONE, {kAssociated}),
                 kRgba, 1},
        TiffCase{"rgba16_associated_planar",
                 Planar(Kind(PHOTOMETRIC_RGB, 16, 4, COMPRESSION_PACKBITS, {kAssociated})), kRgba},
        // The first alpha counts, whatever comes before or after it.
        TiffCase{"rgb8_extra_then_alpha",
                 Kind(PHOTOMETRIC_RGB, 8, 6, COMPRESSION_NONE,
                      {kUnspecified, kUnassociated, kUnassociated}),
                 kRgba},
        TiffCase{"rgb8_unspecified_extra",
                 Kind(PHOTOMETRIC_RGB, 8, 4, COMPRESSION_NONE, {kUnspecified}), kRgb},
        TiffCase{"cmyk8", Kind(PHOTOMETRIC_SEPARATED, 8, 4, COMPRESSION_LZW), kRgb, 1},
        TiffCase{"cmyk16", Kind(PHOTOMETRIC_SEPARATED, 16, 4, COMPRESSION_NONE), kRgb, 1},
        TiffCase{"cmyk16_planar_tiles",
                 Planar(Tiled(Kind(PHOTOMETRIC_SEPARATED, 16, 4, COMPRESSION_LZW))), kRgb, 1},
        TiffCase{"ycbcr_jpeg", Kind(PHOTOMETRIC_YCBCR, 8, 3, COMPRESSION_JPEG), kRgb, 12, true},
        TiffCase{"ycbcr_jpeg_tiles", Tiled(Kind(PHOTOMETRIC_YCBCR, 8, 3, COMPRESSION_JPEG)), kRgb,
                 12, true}),
    [](const testing::TestParamInfo<TiffCase>& info) { return info.param.name; });

// Samples of 1, 2 and 4 bits: the rows of a 37-pixel picture end within a
// byte, and tiles 16 pixels wide leave the last one partly outside it.
struct NarrowTiffCase {
  const char* name;
  uint16_t photometric;
  int bits;
  uint16_t compression = COMPRESSION_NONE;
  uint32_t tileSide = 0;
};

class DecodesNarrowTiff : public testing::TestWithParam<NarrowTiffCase> {};

TEST_P(DecodesNarrowTiff, EverySample) {
  const NarrowTiffCase& c = GetParam();
  const uint32_t max = (1u << c.bits) - 1;
  auto paletteColour = [](uint32_t i) {
    return qRgb(int(i * 60 % 256), int(255 - i * 15), int(i * 30 % 256));
  };
  TiffWriting writing;
  writing.width = 37;
  writing.height = 5;
  writing.photometric = c.photometric;
  writing.bits = c.bits;
  writing.samples = 1;
  writing.compression = c.compression;
  writing.tileSide = c.tileSide;
  writing.sample = [max](int x, int y, int) { return uint32_t(x * 7 + y) % (max + 1); };
  if (c.photometric == PHOTOMETRIC_PALETTE) {
    writing.colormap.resize(3 * (max + 1));
    for (uint32_t i = 0; i <= max; ++i) {
      writing.colormap[i] = uint16_t(qRed(paletteColour(i)) * 257);
      writing.colormap[max + 1 + i] = uint16_t(qGreen(paletteColour(i)) * 257);
      writing.colormap[2 * (max + 1) + i] = uint16_t(qBlue(paletteColour(i)) * 257);
    }
  }
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, "narrow.tif", WriteTiff(writing)));
  ASSERT_TRUE(picture);
  const QImage& image = ImageOf(*picture);
  ASSERT_EQ(image.size(), QSize(37, 5));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) {
      const uint32_t sample = writing.sample(x, y, 0);
      int level = int(sample * 255 / max);
      if (c.photometric == PHOTOMETRIC_MINISWHITE) level = 255 - level;
      const QRgb want = c.photometric == PHOTOMETRIC_PALETTE ? paletteColour(sample)
                                                             : qRgb(level, level, level);
      ASSERT_EQ(image.pixel(x, y), want) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DecodesNarrowTiff,
    testing::Values(NarrowTiffCase{"bilevel", PHOTOMETRIC_MINISBLACK, 1},
                    NarrowTiffCase{"bilevel_min_is_white_g4", PHOTOMETRIC_MINISWHITE, 1,
                                   COMPRESSION_CCITTFAX4},
                    NarrowTiffCase{"bilevel_min_is_white_g3", PHOTOMETRIC_MINISWHITE, 1,
                                   COMPRESSION_CCITTFAX3},
                    NarrowTiffCase{"gray2_tiles", PHOTOMETRIC_MINISBLACK, 2, COMPRESSION_LZW, 16},
                    NarrowTiffCase{"gray4_packbits", PHOTOMETRIC_MINISBLACK, 4,
                                   COMPRESSION_PACKBITS},
                    NarrowTiffCase{"palette1", PHOTOMETRIC_PALETTE, 1},
                    NarrowTiffCase{"palette2_deflate", PHOTOMETRIC_PALETTE, 2,
                                   COMPRESSION_ADOBE_DEFLATE},
                    NarrowTiffCase{"palette4_tiles", PHOTOMETRIC_PALETTE, 4, COMPRESSION_NONE, 16}),
    [](const testing::TestParamInfo<NarrowTiffCase>& info) { return info.param.name; });

TEST(DecodePictureFile, RoundsSixteenBitSamplesToEightBits) {
  const std::pair<uint32_t, int> levels[] = {{0, 0},       {128, 0},     {129, 1},
                                             {257, 1},     {32767, 127}, {32896, 128},
                                             {65406, 254}, {65535, 255}};
  TiffWriting writing;
  writing.width = int(std::size(levels));
  writing.height = 1;
  writing.photometric = PHOTOMETRIC_MINISBLACK;
  writing.bits = 16;
  writing.samples = 1;
  writing.sample = [&levels](int x, int, int) { return levels[x].first; };
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, "levels.tif", WriteTiff(writing)));
  ASSERT_TRUE(picture);
  for (int x = 0; x < writing.width; ++x)
    EXPECT_EQ(qRed(ImageOf(*picture).pixel(x, 0)), levels[x].second) << levels[x].first;
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

// The lossless pattern at (4, 2) on a 40 x 30 canvas, then the lossy one at
// the top left.
QByteArray AnimationOfThePattern() {
  return AnimatedWebp(
      40, 30,
      {{WebpChunk(Read(kFixtures + "webp_rgba.webp"), "VP8L"), 4, 2, kWidth, kHeight},
       {WebpChunk(Read(kFixtures + "webp_lossy.webp"), "VP8 "), 0, 0, kWidth, kHeight}});
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

// A TIFF of the pattern in two strips (or four tiles) whose last one's
// compressed data is cut in half.
QByteArray TiffWithLastStripCut(uint16_t compression, bool tiled) {
  TiffWriting writing;
  writing.compression = compression;
  writing.photometric = compression == COMPRESSION_JPEG ? PHOTOMETRIC_YCBCR : PHOTOMETRIC_RGB;
  writing.rowsPerStrip = 16;  // JPEG's subsampled rows come in 16s
  writing.tileSide = tiled ? 16 : 0;
  writing.sample = [](int x, int y, int s) {
    return uint32_t(Expected(kRgb, x, y) >> (16 - 8 * s)) & 0xFF;
  };
  return WithLastStripCut(writing, 0.5);
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
        // A 1 x 1 frame of two colours with a minimum code size of 1; GIF's is at least 2.
        DamageCase{"gif_code_size_1", "one.gif",
                   [] {
                     return QByteArray("GIF89a" "\1\0\1\0" "\x80\0\0" "\0\0\0\xFF\xFF\xFF"
                                       "," "\0\0\0\0\1\0\1\0" "\0" "\1" "\1\x32\0" ";",
                                       34);
                   }},
        DamageCase{"truncated_bmp", "cut.bmp", [] { return Truncated("bmp_rgb.bmp", 0.5); }},
        DamageCase{"truncated_tiff", "cut.tif", [] { return Truncated("tiff_rgb8.tif", 0.5); }},
        DamageCase{"tiff_lzw_strip_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_LZW, false); }},
        DamageCase{"tiff_deflate_strip_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_ADOBE_DEFLATE, false); }},
        DamageCase{"tiff_packbits_strip_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_PACKBITS, false); }},
        DamageCase{"tiff_jpeg_strip_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_JPEG, false); }},
        DamageCase{"tiff_lzw_tile_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_LZW, true); }},
        DamageCase{"tiff_deflate_tile_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_ADOBE_DEFLATE, true); }},
        DamageCase{"tiff_packbits_tile_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_PACKBITS, true); }},
        DamageCase{"tiff_jpeg_tile_cut", "cut.tif",
                   [] { return TiffWithLastStripCut(COMPRESSION_JPEG, true); }},
        // Palettes of 1, 2, 4 and 8 bits open; a 3-bit one is no TIFF that opens.
        DamageCase{"tiff_palette_3_bits", "p3.tif",
                   [] {
                     TiffWriting writing;
                     writing.photometric = PHOTOMETRIC_PALETTE;
                     writing.bits = 3;
                     writing.samples = 1;
                     writing.colormap.assign(3 * 8, 0);
                     writing.sample = [](int, int, int) { return 0u; };
                     return WriteTiff(writing);
                   }},
        DamageCase{"truncated_webp", "cut.webp", [] { return Truncated("webp_lossy.webp", 0.6); }},
        DamageCase{"truncated_targa", "cut.tga", [] { return Truncated("tga_rgb.tga", 0.5); }},
        DamageCase{"truncated_targa_rle", "cut.tga", [] { return Truncated("tga_rle.tga", 0.5); }},
        DamageCase{"truncated_psd", "cut.psd", [] { return Truncated("psd_rgb8.psd", 0.8); }},
        DamageCase{"truncated_psd_raw", "cut.psd",
                   [] { return Truncated("psd_rgba16_raw.psd", 0.8); }},
        DamageCase{"truncated_sgi", "cut.sgi", [] { return Truncated("sgi_rgb8.sgi", 0.6); }},
        DamageCase{"truncated_sgi_verbatim", "cut.sgi",
                   [] { return Truncated("sgi_rgb16.sgi", 0.6); }},
        DamageCase{"truncated_interlaced_png", "cut.png",
                   [] { return Truncated("png_interlaced16.png", 0.7); }},
        DamageCase{"png_without_iend", "cut.png",
                   [] { return Read(kFixtures + "png_rgb8.png").chopped(12); }},
        DamageCase{"truncated_lossless_webp", "cut.webp",
                   [] { return Truncated("webp_rgba.webp", 0.9); }},
        DamageCase{"truncated_animated_webp", "cut.webp",
                   [] {
                     const QByteArray webp = AnimationOfThePattern();
                     return webp.left(webp.size() * 4 / 5);
                   }},
        DamageCase{"truncated_rle8_bmp", "cut.bmp", [] { return Truncated("bmp_rle8.bmp", 0.95); }},
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

// A picture of one colour written as the file at path, of the format its
// extension names: a TIFF by libtiff, the others by Qt's own writers.
bool WritePlainPicture(const QString& path, QSize size) {
  if (path.endsWith(".tif")) {
    TiffWriting writing;
    writing.width = size.width();
    writing.height = size.height();
    writing.sample = [](int, int, int s) { return uint32_t(0x336699 >> (16 - 8 * s)) & 0xFF; };
    return Write(path, WriteTiff(writing));
  }
  QImage image(size, QImage::Format_RGB32);
  image.fill(0xFF336699);
  return image.save(path);
}

TEST(DecodePictureFile, TakesSidesUpTo32767) {
  QTemporaryDir dir;
  for (const char* format : {"jpg", "png", "bmp", "tif"})
    for (int side : {32767, 32768})
      for (bool wide : {true, false}) {
        SCOPED_TRACE(testing::Message() << format << " " << side << (wide ? " wide" : " high"));
        const QSize size(wide ? side : 2, wide ? 2 : side);
        const QString path = dir.filePath(QStringLiteral("side.") + format);
        ASSERT_TRUE(WritePlainPicture(path, size));
        const Ref<Picture> picture = Decode(path);
        ASSERT_EQ(picture != nullptr, side == 32767);
        if (picture) {
          EXPECT_EQ(QSize(picture->Width(), picture->Height()), size);
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
  // Loads the decoders' libraries before the cap.
  for (const char* fixture : {"jpeg_rgb.jpg", "png_rgb8.png", "psd_rgb8.psd", "bmp_rgb.bmp"})
    ASSERT_TRUE(Decode(kFixtures + fixture));

  const AddressSpaceCap cap(rlim_t(512) << 20);
  EXPECT_FALSE(NewPicture(32767, 32767, 32));
  for (const QString& path : paths) EXPECT_FALSE(Decode(path)) << path.toStdString();
  EXPECT_TRUE(NewPicture(538, 284, 32));
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
    const PeakMemory peak;
    EXPECT_FALSE(Decode(path));
    EXPECT_LT(peak.Added(), uint64_t(256) << 20);
  }
}

// The pattern's colours, block k at index k.
std::vector<QRgb> PatternPalette() {
  std::vector<QRgb> palette;
  for (int k = 0; k < 12; ++k) palette.push_back(qRgb(kRed[k], kGreen[k], kBlue[k]));
  return palette;
}

// A channel at that many bits, rounded to the nearest level.
uint32_t Reduced(int value, int bits) {
  const int levels = (1 << bits) - 1;
  return uint32_t((value * levels + 127) / 255);
}

uint32_t Argb(int x, int y) { return Expected(kRgba, x, y); }

QByteArray PatternBmp(BmpLayout header, std::function<uint32_t(int x, int y)> value) {
  header.width = kWidth;
  header.height = header.height < 0 ? -kHeight : kHeight;
  return BmpFile(header, BmpRows(header, value));
}

// Row y of the pattern as indices into PatternPalette().
QByteArray PatternIndices(int y) {
  QByteArray row;
  for (int x = 0; x < kWidth; ++x) row += char(Block(x, y));
  return row;
}

QByteArray PatternGif(GifPicture gif) {
  gif.colors = PatternPalette();
  gif.width = kWidth;
  gif.height = kHeight;
  gif.row = PatternIndices;
  return GifFile(gif);
}

// Files built here, for what the fixtures' writer does not make.
struct BuiltCase {
  const char* name;
  const char* file;
  std::function<QByteArray()> bytes;
  Content content;
  int tolerance = 0;
};

class DecodesBuiltFile : public testing::TestWithParam<BuiltCase> {};

TEST_P(DecodesBuiltFile, ThePatternAtFullSize) {
  const BuiltCase& c = GetParam();
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, c.file, c.bytes()));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Image().opaque, c.content != kRgba);
  ExpectPattern(ImageOf(*picture), c.content, c.tolerance, false);
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, DecodesBuiltFile,
    testing::Values(
        BuiltCase{"palette4", "p4.bmp",
                  [] { return PatternBmp({.bitsPerPixel = 4, .palette = PatternPalette()}, Block); },
                  kRgb},
        BuiltCase{"palette8_top_first", "p8.bmp",
                  [] {
                    return PatternBmp(
                        {.height = -1, .bitsPerPixel = 8, .palette = PatternPalette()}, Block);
                  },
                  kRgb},
        BuiltCase{"os2_palette8", "os2.bmp",
                  [] {
                    std::vector<QRgb> palette = PatternPalette();
                    palette.resize(256);
                    return PatternBmp({.headerSize = 12, .bitsPerPixel = 8, .palette = palette},
                                      Block);
                  },
                  kRgb},
        BuiltCase{"rle4", "rle4.bmp",
                  [] {
                    BmpLayout header{.width = kWidth, .height = kHeight, .bitsPerPixel = 4,
                                     .compression = 2, .palette = PatternPalette()};
                    return BmpFile(header, BmpRle(header, Block));
                  },
                  kRgb},
        BuiltCase{"rgb555", "555.bmp",
                  [] {
                    return PatternBmp({.bitsPerPixel = 16}, [](int x, int y) {
                      const QRgb c = Argb(x, y);
                      return Reduced(qRed(c), 5) << 10 | Reduced(qGreen(c), 5) << 5 |
                             Reduced(qBlue(c), 5);
                    });
                  },
                  kRgb, 5},
        BuiltCase{"rgb565_bit_fields", "565.bmp",
                  [] {
                    return PatternBmp(
                        {.bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
                        [](int x, int y) {
                          const QRgb c = Argb(x, y);
                          return Reduced(qRed(c), 5) << 11 | Reduced(qGreen(c), 6) << 5 |
                                 Reduced(qBlue(c), 5);
                        });
                  },
                  kRgb, 5},
        // The fourth byte of a 32-bit pixel is no alpha without a mask for it.
        BuiltCase{"rgb32_unused_byte", "x32.bmp",
                  [] { return PatternBmp({.bitsPerPixel = 32}, Argb); }, kRgb},
        BuiltCase{"bgr32_bit_fields", "bgr.bmp",
                  [] {
                    return PatternBmp(
                        {.bitsPerPixel = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}},
                        [](int x, int y) {
                          const QRgb c = Argb(x, y);
                          return uint32_t(qBlue(c) << 16 | qGreen(c) << 8 | qRed(c));
                        });
                  },
                  kRgb},
        // A V4 header's alpha mask counts even without bit fields.
        BuiltCase{"v4_alpha_mask", "v4.bmp",
                  [] {
                    return PatternBmp({.headerSize = 108,
                                       .bitsPerPixel = 32,
                                       .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
                                      Argb);
                  },
                  kRgba},
        BuiltCase{"rgba_bit_fields_v5", "v5.bmp",
                  [] {
                    return PatternBmp({.headerSize = 124,
                                       .bitsPerPixel = 32,
                                       .compression = 3,
                                       .masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF}},
                                      [](int x, int y) {
                                        const QRgb c = Argb(x, y);
                                        return uint32_t(qRed(c)) << 24 | qGreen(c) << 16 |
                                               qBlue(c) << 8 | qAlpha(c);
                                      });
                  },
                  kRgba}),
    [](const testing::TestParamInfo<BuiltCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Gif, DecodesBuiltFile,
    testing::Values(BuiltCase{"interlaced", "i.gif",
                              [] {
                                return PatternGif({.screenWidth = kWidth,
                                                   .screenHeight = kHeight,
                                                   .interlaced = true});
                              },
                              kRgb},
                    // A screen of 0 x 0 takes the frame's size.
                    BuiltCase{"no_screen_size", "s.gif", [] { return PatternGif({}); }, kRgb}),
    [](const testing::TestParamInfo<BuiltCase>& info) { return info.param.name; });

// RLE: deltas, ends of line and the end of the bitmap leave pixels that take
// palette entry 0; absolute runs keep to 16-bit boundaries.
TEST(DecodePictureFile, ReadsBmpRleCommands) {
  const std::vector<QRgb> palette = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  struct Case {
    const char* name;
    BmpLayout header;
    QByteArray data;
    std::vector<std::vector<int>> rows;  // top first: palette indices
  };
  const Case cases[] = {
      {"rle8",
       {.width = 5, .height = 3, .bitsPerPixel = 8, .compression = 1, .palette = palette},
       QByteArray("\3\1" "\0\0"                 // bottom row: three of 1, end of line
                  "\0\3\2\3\2\0" "\0\2\1\1"     // absolute 2 3 2 (padded), delta (1, 1)
                  "\1\3" "\0\1",                // one 3 at the right, end of bitmap
                  18),
       {{0, 0, 0, 0, 3}, {2, 3, 2, 0, 0}, {1, 1, 1, 0, 0}}},
      {"rle4",
       {.width = 5, .height = 2, .bitsPerPixel = 4, .compression = 2, .palette = palette},
       QByteArray("\5\x12" "\0\0"               // bottom row: 1 2 1 2 1, end of line
                  "\0\3\x31\x20" "\0\1",        // absolute 3 1 2, end of bitmap
                  10),
       {{3, 1, 2, 0, 0}, {1, 2, 1, 2, 1}}},
      {"delta_from_past_the_width",
       {.width = 2, .height = 1, .bitsPerPixel = 8, .compression = 1, .palette = palette},
       QByteArray("\4\1" "\0\2\1\0" "\0\1",  // four of 1 (two dropped), delta (1, 0), end
                  8),
       {{1, 1}}},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Ref<Picture> picture = Decode(Write(dir, "rle.bmp", BmpFile(c.header, c.data)));
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->Image().opaque);
    const QImage& image = ImageOf(*picture);
    ASSERT_EQ(image.size(), QSize(c.header.width, c.header.height));
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        EXPECT_EQ(image.pixel(x, y), palette[c.rows[y][x]]) << x << "," << y;
  }
}

// The first frame drawn on the logical screen: the screen's background
// colour around it, or transparency when the frame has a transparent index;
// what lies beyond the screen is cut off.
TEST(DecodePictureFile, ComposesTheFirstGifFrameOnItsScreen) {
  constexpr QRgb kBackground = 0xFF102030;
  struct Case {
    const char* name;
    GifPicture gif;
  };
  const Case cases[] = {
      {"background", {.screenWidth = 40, .screenHeight = 30, .background = 12, .left = 4, .top = 3}},
      {"transparent",
       {.screenWidth = 40, .screenHeight = 30, .left = 4, .top = 3, .transparent = 13}},
      {"cut_off", {.screenWidth = 40, .screenHeight = 30, .background = 12, .left = 20, .top = 10}},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifPicture gif = c.gif;
    std::vector<QRgb> colors = PatternPalette();
    colors.push_back(kBackground);
    gif.colors = colors;
    gif.width = kWidth;
    gif.height = kHeight;
    gif.row = PatternIndices;
    const Ref<Picture> picture = Decode(Write(dir, "screen.gif", GifFile(gif)));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Image().opaque, gif.transparent < 0);
    const QImage& image = ImageOf(*picture);
    ASSERT_EQ(image.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const int fx = x - gif.left, fy = y - gif.top;
        const bool inFrame = fx >= 0 && fx < kWidth && fy >= 0 && fy < kHeight;
        const QRgb got = image.pixel(x, y);
        if (inFrame)
          ASSERT_EQ(got, Expected(kRgb, fx, fy)) << x << "," << y;
        else if (gif.transparent >= 0)
          ASSERT_EQ(qAlpha(got), 0) << x << "," << y;
        else
          ASSERT_EQ(got, kBackground) << x << "," << y;
      }
  }
}

// Codes that fill the table: started again with a clear code, or the full
// table kept to the end.
TEST(DecodePictureFile, DecodesGifCodesThatFillTheTable) {
  constexpr int kSide = 96;
  std::mt19937 random(7);
  std::vector<QByteArray> rows;
  for (int y = 0; y < kSide; ++y) {
    QByteArray row(kSide, 0);
    for (char& index : row) index = char(random() % 256 < 200 ? random() % 256 : 7);
    rows.push_back(row);
  }
  std::vector<QRgb> colors;
  for (int i = 0; i < 256; ++i) colors.push_back(qRgb(i, 255 - i, i * 7 % 256));
  QTemporaryDir dir;
  for (bool clear : {true, false}) {
    SCOPED_TRACE(clear ? "cleared" : "kept");
    const GifPicture gif{.screenWidth = kSide,
                         .screenHeight = kSide,
                         .colors = colors,
                         .width = kSide,
                         .height = kSide,
                         .row = [&](int y) { return rows[y]; },
                         .clearWhenFull = clear};
    const Ref<Picture> picture = Decode(Write(dir, "codes.gif", GifFile(gif)));
    ASSERT_TRUE(picture);
    const QImage& image = ImageOf(*picture);
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        ASSERT_EQ(image.pixel(x, y), colors[uint8_t(rows[y][x])]) << x << "," << y;
  }
}

// Samples of every PNG colour type and depth brought to 8-bit ARGB: low
// depths scaled, 16 bits rounded, tRNS as a palette's alpha or a colour key.
TEST(DecodePictureFile, ConvertsPngSamplesToEightBitArgb) {
  struct Case {
    const char* name;
    int bitDepth, colorType;
    QByteArray scanline;  // one row, with its filter byte
    QByteArray chunks;
    std::vector<QRgb> pixels;
  };
  auto gray = [](int v, int a = 255) { return qRgba(v, v, v, a); };
  const Case cases[] = {
      {"gray1", 1, 0, QByteArray("\0\xB1", 2), {},
       {gray(255), gray(0), gray(255), gray(255), gray(0), gray(0), gray(0), gray(255)}},
      {"gray2", 2, 0, QByteArray("\0\x1B", 2), {}, {gray(0), gray(85), gray(170), gray(255)}},
      {"gray4", 4, 0, QByteArray("\0\x1F", 2), {}, {gray(17), gray(255)}},
      {"gray16", 16, 0, QByteArray("\0\x80\x80\x00\xFF", 5), {}, {gray(128), gray(1)}},
      {"gray_alpha8", 8, 4, QByteArray("\0\x0A\x80", 3), {}, {gray(10, 128)}},
      {"gray_alpha16", 16, 4, QByteArray("\0\x0A\x0A\x7F\xFF", 5), {}, {gray(10, 127)}},
      {"rgba16_rounded", 16, 6, QByteArray("\0\xFF\x00\x00\x80\x00\x81\x80\x00", 9), {},
       {qRgba(254, 0, 1, 128)}},
      {"palette2_trns", 2, 3, QByteArray("\0\x1B", 2),
       PngChunk("PLTE", QByteArray("\xFF\0\0\0\xFF\0\0\0\xFF\x10\x20\x30", 12)) +
           PngChunk("tRNS", QByteArray("\x00\x80", 2)),
       {qRgba(255, 0, 0, 0), qRgba(0, 255, 0, 128), qRgb(0, 0, 255), qRgb(16, 32, 48)}},
      {"gray_key", 8, 0, QByteArray("\0\x05\x06", 3), PngChunk("tRNS", QByteArray("\0\x06", 2)),
       {gray(5), gray(6, 0)}},
      {"rgb_key", 8, 2, QByteArray("\0\x80\x40\xC8\x0A\x14\x1E", 7),
       PngChunk("tRNS", QByteArray("\0\x80\0\x40\0\xC8", 6)), {qRgba(128, 64, 200, 0), qRgb(10, 20, 30)}},
      {"rgb16_key", 16, 2, QByteArray("\0\x12\x34\0\0\0\0\x12\x35\0\0\0\0", 13),
       PngChunk("tRNS", QByteArray("\x12\x34\0\0\0\0", 6)), {qRgba(18, 0, 0, 0), qRgb(18, 0, 0)}},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray png = PngOfScanlines(uint32_t(c.pixels.size()), 1, c.bitDepth, c.colorType,
                                          c.scanline, c.chunks);
    const Ref<Picture> picture = Decode(Write(dir, "samples.png", png));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Image().opaque, !(c.colorType & 4) && !c.chunks.contains("tRNS"));
    const QImage& image = ImageOf(*picture);
    ASSERT_EQ(image.size(), QSize(int(c.pixels.size()), 1));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb got = image.pixel(x, 0), want = c.pixels[size_t(x)];
      EXPECT_EQ(qAlpha(got), qAlpha(want)) << x;
      if (qAlpha(want) != 0) {
        EXPECT_EQ(got, want) << x;
      }
    }
  }
}

// An animation gives its first frame where it stands on the canvas, with
// transparency around it.
TEST(DecodePictureFile, ShowsTheFirstFrameOfAnAnimatedWebp) {
  QTemporaryDir dir;
  const Ref<Picture> picture = Decode(Write(dir, "animated.webp", AnimationOfThePattern()));
  ASSERT_TRUE(picture);
  EXPECT_FALSE(picture->Image().opaque);
  const QImage& image = ImageOf(*picture);
  ASSERT_EQ(image.size(), QSize(40, 30));
  const QRect frame(4, 2, kWidth, kHeight);
  ExpectPattern(image.copy(frame), kRgba, 0, false);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      if (frame.contains(x, y)) continue;
      ASSERT_EQ(image.pixel(x, y), 0u) << x << "," << y;
    }
}

}  // namespace
