// Opening files that are damaged, hostile, not pictures, unreadable or too
// large: each gives its message, takes no more memory than it must on the way
// to its refusal, and leaves the open picture as it was.
#include <QDir>
#include <QFile>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "BmpBytes.h"
#include "ByteOrder.h"
#include "FileBytes.h"
#include "GifBytes.h"
#include "PeakMemory.h"
#include "AddressSpaceCap.h"
#include "PictureBytes.h"
#include "RefusalMessages.h"
#include "StartedVamor.h"
#include "TiffBytes.h"
#include "image/OpenMenu.h"
#include "platform/files/FolderItem.h"
#include "platform/files/PictureDecoder.h"
#include "platform/graphics/PictureImage.h"

namespace {
const QString kFixtures = QStringLiteral(VAMOR_FIXTURES);
constexpr uint64_t kMiB = 1 << 20;

QByteArray Fixture(const QString& name) { return Read(kFixtures + "/" + name); }

QByteArray Cut(const QByteArray& bytes, double keep) {
  return bytes.left(qsizetype(bytes.size() * keep));
}

// A side x side GIF of one colour but the last pixel, its LZW codes cut to
// the share kept (its data blocks still properly ended).
QByteArray PlainGif(int side, double codesKept = 1.0, bool interlaced = false) {
  QByteArray row(side, '\0'), last = row;
  last[side - 1] = 1;
  return GifFile({.screenWidth = side,
                  .screenHeight = side,
                  .colors = {0xFF000000, 0xFFFFFFFF},
                  .width = side,
                  .height = side,
                  .interlaced = interlaced,
                  .row = [=](int y) { return y == side - 1 ? last : row; },
                  .codesKept = codesKept});
}

// An 8-bit (or 4-bit) RLE BMP of side x side pixels in vertical stripes, its
// data cut to the share kept.
QByteArray StripedRleBmp(int side, int bitsPerPixel, double keep) {
  const BmpLayout header{.width = side,
                         .height = side,
                         .bitsPerPixel = bitsPerPixel,
                         .compression = uint32_t(bitsPerPixel == 8 ? 1 : 2),
                         .palette = {0xFF000000, 0xFFFFFFFF}};
  const QByteArray data = BmpRle(header, [](int x, int) { return uint8_t(x / 3 % 2); });
  return BmpFile(header, Cut(data, keep));
}

// A file that once made a reader crash or misbehave (tests/fuzz/regressions).
QByteArray Regression(const QString& name) { return Fixture("../fuzz/regressions/" + name); }

struct RefusedCase {
  const char* name;
  const char* file;                  // its name in the temporary folder
  std::function<QByteArray()> bytes;  // null: make the path some other way
  // The message, or its beginning where it goes on with a machine's figure.
  std::string message;
  uint64_t capHeadroomMiB = 0;  // cap the address space at this much more
  std::function<void(const std::string& path)> make = nullptr;

  friend void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }
};

class RefusedFile : public StartedVamor, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFile, SaysWhyTakesLittleAndKeepsThePicture) {
  const RefusedCase& c = GetParam();
  dialogs.files.push_back(WritePicture("open.png", 300, 200));
  OpenMenu::OpenImage();
  const Ref<Picture> original = ImageTools::OriginalImage;
  const std::string title = Main()->Title();
  ASSERT_TRUE(original);

  const std::string path = TempDir() + "/" + c.file;
  uint64_t fileSize = 0;
  if (c.bytes) {
    const QByteArray bytes = c.bytes();
    fileSize = uint64_t(bytes.size());
    ASSERT_TRUE(Write(QString::fromStdString(path), bytes));
  } else {
    c.make(path);
  }
  {
    std::optional<AddressSpaceCap> cap;
    if (c.capHeadroomMiB) cap.emplace(c.capHeadroomMiB * kMiB);
    const PeakMemory peak;
    OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(path));
    EXPECT_LE(peak.Added(), fileSize + 64 * kMiB);
  }
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].substr(0, c.message.size()), c.message);
  EXPECT_EQ(ImageTools::OriginalImage, original);
  EXPECT_EQ(Main()->Title(), title);
  QFile::remove(QString::fromStdString(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    testing::Values(
        RefusedCase{"text", "notes.txt", [] { return QByteArray("Tile sizes:\n256 x 256\n"); },
                    kNoImageData},
        // Files users reported when Qt's MNG reader crashed on one and took 4 GB
        // for the other: no reader takes MNG now, so they go the way of the text.
        RefusedCase{"mng_crash", "crash.mng", [] { return Regression("mng_crash.mng"); },
                    kNoImageData},
        RefusedCase{"mng_crash_named_png", "crash.png",
                    [] { return Regression("mng_crash.mng"); }, kNoImageData},
        RefusedCase{"mng_mem_4g", "big.mng", [] { return Regression("mng_mem_4g.mng"); },
                    kNoImageData},
        RefusedCase{"png_side_above_32767", "wide.png", [] { return PngClaiming(40000, 1); },
                    "wide.png is 40,000 x 1 pixels; Vamor opens pictures of at most 32,767 x "
                    "32,767 pixels."},
        // Valid, 131 KB, but 4.3 GB once decoded: more than the cap leaves.
        RefusedCase{"png_1bit_32767_beyond_memory", "onebit.png",
                    [] { return ZeroPng(32767, 32767, 1, 0); },
                    "onebit.png is 32,767 x 32,767 pixels and needs 4.3 GB of memory; only ", 1024},
        // 4.3 GB once decoded, more than the cap leaves, but its 3 KB could
        // not hold the picture's blocks: damage, not a lack of memory.
        RefusedCase{"jpeg_claims_32767_holds_little", "claims.jpg",
                    [] {
                      QByteArray jpeg = Fixture("decode/jpeg_rgb.jpg");
                      const qsizetype frame = jpeg.indexOf("\xFF\xC0") + 5;  // height, width
                      return jpeg.replace(frame, 4, BigEndian(32767, 2) + BigEndian(32767, 2));
                    },
                    kNoImageData, 1024},
        // 4.3 GB once decoded, more than the cap leaves, from one strip of
        // 100 bytes: damage, not a lack of memory.
        RefusedCase{"tiff_claims_32767_holds_little", "claims.tif",
                    [] { return TiffClaiming(32767, 32767, 100); }, kNoImageData, 1024},
        // Photoshop and SGI files of that size holding four rows: damage too.
        RefusedCase{"psd_claims_32767_holds_little", "claims.psd",
                    [] { return PsdClaiming(32767, 32767, 0, QByteArray(4 * 32767, '\x80')); },
                    kNoImageData, 1024},
        RefusedCase{"sgi_claims_32767_holds_little", "claims.sgi",
                    [] { return Sgi(false, 1, 2, 32767, 32767, 1, QByteArray(4 * 32767, 0)); },
                    kNoImageData, 1024},
        RefusedCase{"tiff_side_above_32767", "wide.tif", [] { return TiffClaiming(40000, 1, 100); },
                    "wide.tif is 40,000 x 1 pixels; Vamor opens pictures of at most 32,767 x "
                    "32,767 pixels."},
        // Run-length SGI files of 1 MB, almost all of it the tables of rows
        // of a 32767 x 32767 RGBA picture (4.3 GB): rows that lie past the
        // file, or that are too short for a row of that width.
        RefusedCase{"sgi_rows_past_the_file", "rows.sgi",
                    [] { return SgiSharingOneRow(32767, 32767, 4, QByteArray(516, 0), 516, 1 << 20); },
                    kNoImageData},
        RefusedCase{"sgi_rows_too_short", "rows.sgi",
                    [] { return SgiSharingOneRow(32767, 32767, 4, QByteArray("\x7F\x01\0", 3), 3); },
                    kNoImageData},
        RefusedCase{"sgi_side_above_32767", "wide.sgi",
                    [] { return Sgi(false, 1, 2, 40000, 1, 1, QByteArray(40000, 0)); },
                    "wide.sgi is 40,000 x 1 pixels; Vamor opens pictures of at most 32,767 x "
                    "32,767 pixels."},
        // Run-length TARGA: far fewer packets than 32767 x 32767 pixels need.
        RefusedCase{"targa_packets_short_of_the_picture", "few.tga",
                    [] { return Targa(10, 32767, 32767, 32, 8, QByteArray("\xFF\1\2\3\4").repeated(1000)); },
                    kNoImageData},
        // Damage that only reading the packets finds, at the end of files that
        // claim pictures of 268 to 537 MB: found before the picture is taken.
        RefusedCase{"targa_last_packet_past_the_picture", "last.tga",
                    [] {
                      // 524128 packets of 128 pixels leave one pixel for the last.
                      return Targa(10, 16383, 4095, 32, 8, QByteArray("\xFF\1\2\3\4", 5).repeated(524129));
                    },
                    kNoImageData},
        RefusedCase{"sgi_rows_short_of_their_width", "short.sgi",
                    [] {
                      // 257 runs of 127 samples, one of 126 and one of 1: 32766.
                      const QByteArray row =
                          QByteArray("\x7FZ", 2).repeated(257) + "\x7EZ\x81Z" + '\0';
                      return SgiSharingOneRow(32767, 4096, 4, row, 519);
                    },
                    kNoImageData},
        RefusedCase{"psd_last_packbits_row_short", "short.psd",
                    [] {
                      // 255 runs of 128 samples, then one of 127 (32767) or 126 (the last row).
                      const QByteArray runs = QByteArray("\x81\0", 2).repeated(255);
                      return PsdClaiming(32767, 4096, 1,
                                         BigEndian(512, 2).repeated(4096) +
                                             (runs + QByteArray("\x82\0", 2)).repeated(4095) +
                                             runs + QByteArray("\x83\0", 2));
                    },
                    kNoImageData},
        RefusedCase{"missing", "missing.png", nullptr,
                    "Vamor could not read \u201Cmissing.png\u201D: No such file or directory.", 0,
                    [](const std::string&) {}},
        RefusedCase{"folder", "folder.png", nullptr,
                    "Vamor could not read \u201C" "folder.png\u201D: Is a directory.", 0,
                    [](const std::string& path) { QDir().mkpath(QString::fromStdString(path)); }},
        RefusedCase{"fifo", "fifo.png", nullptr,
                    "Vamor could not read \u201C" "fifo.png\u201D: it is not a regular file.", 0,
                    [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        // Damage that a reader must see, and pictures claimed by too little
        // data, refused before their memory is taken.
        RefusedCase{"png_bad_crc_in_text_chunk", "text.png",
                    [] {
                      QByteArray text = PngChunk("tEXt", QByteArray("Comment\0hi", 10));
                      text[text.size() - 1] = char(text[text.size() - 1] ^ 1);
                      const QByteArray png = ZeroPng(8, 8, 8, 2);
                      return png.left(33) + text + png.mid(33);
                    },
                    kNoImageData},
        RefusedCase{"gif_lzw_cut_short", "short.gif", [] { return PlainGif(256, 0.5); },
                    kNoImageData},
        RefusedCase{"gif_interlaced_truncated", "cut.gif",
                    [] { return Cut(PlainGif(256, 1.0, true), 0.6); }, kNoImageData},
        RefusedCase{"gif_16000_from_10_bytes", "claims.gif",
                    [] {
                      // A 64 x 64 GIF's first 10 bytes of codes under a screen
                      // and a frame of 16000 x 16000.
                      QByteArray gif = PlainGif(64);
                      for (int at : {6, 8, 24, 26}) {
                        gif[at] = char(16000 & 0xFF);
                        gif[at + 1] = char(16000 >> 8);
                      }
                      return gif.left(30) + char(10) + gif.mid(31, 10) + '\0' + ';';
                    },
                    kNoImageData},
        RefusedCase{"bmp_rle8_cut_in_half", "cut.bmp", [] { return StripedRleBmp(512, 8, 0.5); },
                    kNoImageData},
        RefusedCase{"bmp_rle4_cut_in_half", "cut.bmp", [] { return StripedRleBmp(512, 4, 0.5); },
                    kNoImageData},
        RefusedCase{"bmp_rle8_ending_before_the_last_row", "short.bmp",
                    [] {
                      QByteArray bmp = StripedRleBmp(512, 8, 0.5);
                      return bmp.left(bmp.size() - bmp.size() % 2) + QByteArray("\0\1", 2);
                    },
                    kNoImageData},
        RefusedCase{"bmp_rle8_16000_from_10_bytes", "claims.bmp",
                    [] {
                      return BmpFile({.width = 16000,
                                      .height = 16000,
                                      .bitsPerPixel = 8,
                                      .compression = 1,
                                      .palette = {0xFF000000, 0xFFFFFFFF}},
                                     QByteArray("\xFF\1", 2).repeated(5));
                    },
                    kNoImageData}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Valid pictures, some of sizes that readers have refused, some that take
// care to be held: each opens at its size with its pixels.
struct OpenedCase {
  const char* name;
  const char* file;
  std::function<QByteArray()> bytes;
  int width, height;
  QRgb topLeft, bottomRight;  // two pixels, as decoded

  friend void PrintTo(const OpenedCase& c, std::ostream* out) { *out << c.name; }
};

class OpenedFile : public StartedVamor, public testing::WithParamInterface<OpenedCase> {};

TEST_P(OpenedFile, AtItsSizeWithItsPixels) {
  const OpenedCase& c = GetParam();
  const std::string path = TempDir() + "/" + c.file;
  ASSERT_TRUE(Write(QString::fromStdString(path), c.bytes()));
  OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(path));
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
  const Ref<Picture> picture = ImageTools::OriginalImage;
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width(), c.width);
  EXPECT_EQ(picture->Height(), c.height);
  const QImage& image = ImageOf(*picture);
  EXPECT_EQ(image.pixel(0, 0), c.topLeft);
  EXPECT_EQ(image.pixel(c.width - 1, c.height - 1), c.bottomRight);
  ImageTools::OriginalImage = ImageTools::PreviewImage = nullptr;
  QFile::remove(QString::fromStdString(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenedFile,
    testing::Values(OpenedCase{"png_gray_zero", "zero.png", [] { return ZeroPng(640, 480, 8, 0); },
                               640, 480, 0xFF000000u, 0xFF000000u},
                    // Sides above 16384 that Qt's readers refused.
                    OpenedCase{"gif_16384", "big.gif", [] { return PlainGif(16384); }, 16384,
                               16384, 0xFF000000u, 0xFFFFFFFFu},
                    OpenedCase{"bmp_1bit_17000", "big.bmp",
                               [] {
                                 const BmpLayout header{.width = 17000,
                                                        .height = 17000,
                                                        .bitsPerPixel = 1,
                                                        .palette = {0xFF000000, 0xFFFFFFFF}};
                                 const qsizetype rowBytes = (17000 + 31) / 32 * 4;
                                 return BmpFile(header, QByteArray(rowBytes * 17000, '\xAA'));
                               },
                               17000, 17000, 0xFFFFFFFFu, 0xFF000000u},
                    // Run-length packets of 128 pixels, top row first: blue, then red.
                    OpenedCase{"targa_32767_wide_run_length", "wide.tga",
                               [] {
                                 return Targa(10, 32767, 2, 24, 0x20,
                                              QByteArray("\xFF\xFF\0\0", 4).repeated(255) +
                                                  QByteArray("\xFE\xFF\0\0", 4) +
                                                  QByteArray("\xFF\0\0\xFF", 4).repeated(255) +
                                                  QByteArray("\xFE\0\0\xFF", 4));
                               },
                               32767, 2, qRgb(0, 0, 255), qRgb(255, 0, 0)},
                    // Every row of every channel is the same packed row of 4000 samples of 90.
                    OpenedCase{"sgi_rows_sharing_one_packed_row", "shared.sgi",
                               [] {
                                 const QByteArray row = QByteArray("\x7FZ", 2).repeated(31) + "\x3FZ";
                                 return SgiSharingOneRow(4000, 4000, 3, row + '\0', 65);
                               },
                               4000, 4000, qRgb(90, 90, 90), qRgb(90, 90, 90)}),
    [](const testing::TestParamInfo<OpenedCase>& info) { return info.param.name; });

// A gray JPEG of blocks of 8 x 8 pixels, tagged with an EXIF orientation.
QByteArray BlockJpeg(int width, int height, int orientation) {
  QImage gray(width, height, QImage::Format_Grayscale8);
  for (int y = 0; y < height; ++y) {
    uchar* row = gray.scanLine(y);
    for (int x = 0; x < width; ++x) row[x] = uchar((x / 8 + y / 8) * 16);
  }
  return JpegWithOrientation(gray, orientation, 75);
}

// A 16-bit RGBA TIFF of one Deflate strip: a gradient under a gradient of
// alpha.
QByteArray WideRgbaTiff(int width, int height) {
  TiffWriting writing;
  writing.width = width;
  writing.height = height;
  writing.bits = 16;
  writing.samples = 4;
  writing.extraSamples = {EXTRASAMPLE_UNASSALPHA};
  writing.compression = COMPRESSION_ADOBE_DEFLATE;
  writing.sample = [](int x, int y, int s) {
    return uint32_t(s == 3 ? y * 16 : x * 16 + s) & 0xFFFF;
  };
  return WriteTiff(writing);
}

// Large pictures that a reader could hold twice on the way (turning them,
// widening their samples): opening one takes no more than the picture, the
// file and 64 MB.
struct HeldOnceCase {
  const char* name;
  const char* file;
  std::function<QByteArray()> bytes;
  int width, height;  // as shown

  friend void PrintTo(const HeldOnceCase& c, std::ostream* out) { *out << c.name; }
};

class HeldOnce : public StartedVamor, public testing::WithParamInterface<HeldOnceCase> {};

TEST_P(HeldOnce, TakesThePictureTheFileAnd64MB) {
  const HeldOnceCase& c = GetParam();
  const std::string path = TempDir() + "/" + c.file;
  uint64_t fileSize = 0;
  {
    const QByteArray bytes = c.bytes();
    fileSize = uint64_t(bytes.size());
    ASSERT_TRUE(Write(QString::fromStdString(path), bytes));
  }
  {
    const PeakMemory peak;
    OpenMenu::OpenDraggedImage(std::make_shared<FolderItem>(path));
    EXPECT_LE(peak.Added(), uint64_t(c.width) * uint64_t(c.height) * 4 + fileSize + 64 * kMiB);
  }
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
  const Ref<Picture> picture = ImageTools::OriginalImage;
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width(), c.width);
  EXPECT_EQ(picture->Height(), c.height);
  ImageTools::OriginalImage = ImageTools::PreviewImage = nullptr;
  QFile::remove(QString::fromStdString(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, HeldOnce,
    testing::Values(HeldOnceCase{"jpeg_turned", "turned.jpg",
                                 [] { return BlockJpeg(8000, 6000, 6); }, 6000, 8000},
                    // The 16-bit samples (96 MB) would be more than 64 MB.
                    HeldOnceCase{"tiff_rgba16_one_strip", "wide.tif",
                                 [] { return WideRgbaTiff(4000, 3000); }, 4000, 3000},
                    // A 16-bit copy (288 MB) would be more than 64 MB.
                    HeldOnceCase{"png_rgba16", "wide.png", [] { return ZeroPng(6000, 6000, 16, 6); },
                                 6000, 6000}),
    [](const testing::TestParamInfo<HeldOnceCase>& info) { return info.param.name; });
}  // namespace
