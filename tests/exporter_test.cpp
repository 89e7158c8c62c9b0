// The graphics exporter component: every format's files are read back with a
// reader other than the one that wrote them.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <cmath>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "ByteOrder.h"
#include "FileBytes.h"
#include "Psnr.h"
#include "platform/files/FolderItem.h"
#include "platform/files/PictureDecoder.h"
#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/quicktime/JpegQuality.h"

namespace {
namespace Signatures = PluginEntrySignatures;

template <class Signature>
Signature EntryFor(const char* declaredText) {
  return reinterpret_cast<Signature>(GraphicsExporterEntry(declaredText));
}

const auto getExporter = EntryFor<Signatures::GetExporter>("GetQTGraphicsExporter(format as string) As QTGraphicsExporter");
const auto exitExporter = EntryFor<Signatures::Exit>("QTGraphicsExporter.__exit");
const auto savePicture =
    EntryFor<Signatures::SavePicture>("QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean");
const auto setQuality = EntryFor<Signatures::SetQuality>("QTGraphicsExporter.CompressionQuality.Set");
const auto lastError = EntryFor<Signatures::LastError>("QTGraphicsExporter.LastError.Get As String");
const auto tileSizeProblem = EntryFor<Signatures::TileSizeProblem>(
    "QTGraphicsExporter.TileSizeProblem(width As Integer, height As Integer) As String");

struct ExporterExit {
  void operator()(ExporterHandle* exporter) const { exitExporter(exporter); }
};
using Exporter = std::unique_ptr<ExporterHandle, ExporterExit>;

Exporter NewExporter(const std::string& code) { return Exporter(getExporter(code)); }

// Varied colours, so that a swapped channel or a shifted row shows.
QRgb Sample(int x, int y, int alpha) {
  return qRgba((x * 37 + y * 11) & 255, (x * 5 + y * 29 + 17) & 255, (x * x + y * 3) & 255, alpha);
}

QImage OpaqueImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, Sample(x, y, 255));
  return image;
}

// Left third transparent (as past a picture's edge), middle third
// semi-transparent, right third opaque.
QImage PartlyTransparentImage(int width, int height) {
  QImage image = OpaqueImage(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 2 * width / 3; ++x)
      image.setPixel(x, y, x < width / 3 ? 0u : Sample(x, y, (x * 7 + y * 13) % 254 + 1));
  return image;
}

QImage TransparentPixel() {
  QImage image(1, 1, QImage::Format_ARGB32);
  image.fill(0u);
  return image;
}

// Pixels that do not compress: a PNG of them needs more than one IDAT chunk.
QImage NoiseImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  uint32_t seed = 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, seed = seed * 1664525u + 1013904223u);
  return image;
}

QImage SmoothImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128 + int(60 * std::sin((x + y) / 40.0))));
  return image;
}

bool Save(ExporterHandle* exporter, const QString& path, const QImage& image) {
  Ref<Picture> picture = PictureFromImage(image, false);
  return savePicture(exporter, FolderItem(path.toStdString()), *picture);
}

QImage ReadWithQt(const QString& path, const char* format) {
  return QImageReader(path, format).read().convertToFormat(QImage::Format_ARGB32);
}

// FreeImage's reader, for the files that GraphicsMagick writes (Qt reads
// only TARGA files with a version 2 footer).
QImage ReadWithFreeImage(const QString& path, FREE_IMAGE_FORMAT format) {
  FIBITMAP* bitmap = FreeImage_Load(format, path.toLocal8Bit().constData());
  if (!bitmap) return {};
  const int width = int(FreeImage_GetWidth(bitmap));
  const int height = int(FreeImage_GetHeight(bitmap));
  const int bytesPerPixel = int(FreeImage_GetBPP(bitmap)) / 8;
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    const BYTE* pixel = FreeImage_GetScanLine(bitmap, height - 1 - y);
    for (int x = 0; x < width; ++x, pixel += bytesPerPixel)
      image.setPixel(x, y, qRgba(pixel[FI_RGBA_RED], pixel[FI_RGBA_GREEN], pixel[FI_RGBA_BLUE],
                                 bytesPerPixel == 4 ? pixel[FI_RGBA_ALPHA] : 255));
  }
  FreeImage_Unload(bitmap);
  return image;
}

// The composite of an uncompressed 8-bit RGB Photoshop file, read from its
// planes; a fourth channel is the alpha channel.
QImage ReadPhotoshop(const QString& path) {
  const QByteArray file = Read(path);
  if (file.size() < 26 || !file.startsWith("8BPS") || ReadBigEndian(file, 22, 2) != 8 || ReadBigEndian(file, 24, 2) != 3)
    return {};
  const int channels = int(ReadBigEndian(file, 12, 2));
  const int height = int(ReadBigEndian(file, 14, 4));
  const int width = int(ReadBigEndian(file, 18, 4));
  int at = 26;
  for (int section = 0; section < 3; ++section) at += 4 + int(ReadBigEndian(file, at, 4));  // mode, resources, layers
  if (ReadBigEndian(file, at, 2) != 0) return {};
  at += 2;
  const qsizetype plane = qsizetype(width) * height;
  if (file.size() < at + channels * plane) return {};
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      auto sample = [&](int channel) { return uchar(file[at + channel * plane + qsizetype(y) * width + x]); };
      image.setPixel(x, y, qRgba(sample(0), sample(1), sample(2), channels == 4 ? sample(3) : 255));
    }
  return image;
}

struct Format {
  const char* code;
  const char* extension;
  std::function<QImage(const QString&)> read;
  std::function<int(const QByteArray&)> channels;  // from the file's header
};

const Format kPng{"PNGf", "png", [](const QString& p) { return ReadWithQt(p, "png"); },
                  [](const QByteArray& f) { return f[25] == 6 ? 4 : f[25] == 2 ? 3 : 0; }};
const Format kTarga{"TPIC", "tga", [](const QString& p) { return ReadWithFreeImage(p, FIF_TARGA); },
                    [](const QByteArray& f) { return uchar(f[16]) / 8; }};
const Format kPhotoshop{"8BPS", "psd", ReadPhotoshop, [](const QByteArray& f) { return int(ReadBigEndian(f, 12, 2)); }};
const Format kSgi{".SGI", "sgi", [](const QString& p) { return ReadWithFreeImage(p, FIF_SGI); },
                  [](const QByteArray& f) { return int(ReadBigEndian(f, 10, 2)); }};
const Format kBmp{"BMPf", "bmp", [](const QString& p) { return ReadWithQt(p, "bmp"); },
                  [](const QByteArray& f) { return int(ReadLittleEndian(f, 28, 2)) / 8; }};
const Format kJpeg{"JPEG", "jpg", [](const QString& p) { return ReadWithQt(p, "jpeg"); },
                   [](const QByteArray&) { return 3; }};
const Format* const kAllFormats[] = {&kJpeg, &kPng, &kTarga, &kPhotoshop, &kSgi, &kBmp};

class ExporterTest : public ::testing::Test {
 protected:
  QString File(const QString& name) const { return QDir(folder.path()).filePath(name); }
  QStringList FolderEntries() const {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }
  QTemporaryDir folder;
};

TEST_F(ExporterTest, AnswersTheSixCodesExactlyAndNoOther) {
  for (const Format* format : kAllFormats) EXPECT_TRUE(NewExporter(format->code)) << format->code;
  for (const char* code : {"jpeg", "PNGF", "PNG", "SGI", ".sgi", "BMP", "TIFF", "JPEG ", ""})
    EXPECT_FALSE(NewExporter(code)) << '"' << code << '"';
  EXPECT_EQ(GraphicsExporterEntry("QTGraphicsExporter.SavePicture"), nullptr);
  EXPECT_EQ(GraphicsExporterEntry("QTEffect.__exit"), nullptr);
}

// Lossless formats: the pixels come back exactly, with an alpha channel only
// when the tile has a pixel that is not opaque.
struct LosslessCase {
  const Format* format;
  const char* name;
};

void PrintTo(const LosslessCase& c, std::ostream* out) { *out << c.format->code; }

class LosslessTest : public ExporterTest, public ::testing::WithParamInterface<LosslessCase> {};

TEST_P(LosslessTest, RoundTripsExactlyWithAlphaOnlyWhenNeeded) {
  const Format& format = *GetParam().format;
  struct Source {
    const char* name;
    QImage image;
    int channels;
  };
  const Source sources[] = {{"opaque", OpaqueImage(37, 23), 3},
                            {"partly transparent", PartlyTransparentImage(37, 23), 4},
                            {"one transparent pixel", TransparentPixel(), 4},
                            {"incompressible", NoiseImage(600, 600), 4}};
  Exporter exporter = NewExporter(format.code);
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    const QImage& image = source.image;
    const QString path = File(QString("tile.") + format.extension);
    ASSERT_TRUE(Save(exporter.get(), path, image)) << lastError(exporter.get());
    EXPECT_EQ(lastError(exporter.get()), "");
    EXPECT_EQ(format.channels(Read(path)), source.channels);
    const QImage read = format.read(path);
    ASSERT_EQ(read.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(read.pixel(x, y), image.pixel(x, y)) << "at " << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessTest,
                         ::testing::Values(LosslessCase{&kPng, "png"}, LosslessCase{&kTarga, "tga"},
                                           LosslessCase{&kPhotoshop, "psd"}, LosslessCase{&kSgi, "sgi"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExporterTest, BmpIsTwentyFourBitsOnWhite) {
  const QImage source = PartlyTransparentImage(37, 23);
  Exporter exporter = NewExporter("BMPf");
  ASSERT_TRUE(Save(exporter.get(), File("tile.bmp"), source));
  EXPECT_EQ(kBmp.channels(Read(File("tile.bmp"))), 3);
  const QImage read = kBmp.read(File("tile.bmp"));
  ASSERT_EQ(read.size(), source.size());
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) {
      const QRgb pixel = source.pixel(x, y);
      const double alpha = qAlpha(pixel) / 255.0;
      auto onWhite = [&](int channel) { return channel * alpha + 255 * (1 - alpha); };
      const QRgb got = read.pixel(x, y);
      ASSERT_NEAR(qRed(got), onWhite(qRed(pixel)), 0.5) << x << "," << y;
      ASSERT_NEAR(qGreen(got), onWhite(qGreen(pixel)), 0.5) << x << "," << y;
      ASSERT_NEAR(qBlue(got), onWhite(qBlue(pixel)), 0.5) << x << "," << y;
    }
}

TEST_F(ExporterTest, JpegIsCloseToTheSourceAndWhiteWhereTransparent) {
  QImage source = SmoothImage(256, 256);
  Exporter exporter = NewExporter("JPEG");
  setQuality(exporter.get(), 819);
  ASSERT_TRUE(Save(exporter.get(), File("opaque.jpg"), source));
  const QImage opaque = kJpeg.read(File("opaque.jpg"));
  ASSERT_EQ(opaque.size(), source.size());
  EXPECT_GT(Psnr(opaque, source), 30.0);

  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 100; ++x) source.setPixel(x, y, 0u);
  ASSERT_TRUE(Save(exporter.get(), File("transparent.jpg"), source));
  const QImage transparent = kJpeg.read(File("transparent.jpg"));
  for (int y = 0; y < 256; y += 5)
    for (int x = 0; x < 96; x += 5) {
      const QRgb pixel = transparent.pixel(x, y);
      ASSERT_GE(std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}), 245) << x << "," << y;
    }
}

TEST(JpegQualityTest, MapsTheExporterScaleToLibjpegQuality) {
  struct Case {
    int32_t compressionQuality;
    int libjpeg;
  };
  for (Case c : {Case{0, 1}, Case{5, 1}, Case{102, 10}, Case{512, 50}, Case{819, 80}, Case{921, 90}, Case{1024, 100},
                 Case{-20, 1}, Case{5000, 100}})
    EXPECT_EQ(LibjpegQuality(c.compressionQuality), c.libjpeg) << c.compressionQuality;
  EXPECT_FALSE(FullResolutionChroma(89));
  EXPECT_TRUE(FullResolutionChroma(90));
}

// The JPEG's libjpeg quality shows in its size, its subsampling in its header:
// each component's sampling factors, as "2x2 1x1 1x1" for 4:2:0.
struct JpegFile {
  qint64 size;
  std::string sampling;
};

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf failed;
};

JpegFile JpegFacts(const QString& path) {
  const QByteArray bytes = Read(path);
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = [](j_common_ptr common) {
    std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->failed, 1);
  };
  std::string sampling;
  jpeg_create_decompress(&info);
  if (!setjmp(errors.failed)) {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    for (int c = 0; c < info.num_components; ++c)
      sampling += (c ? " " : "") + std::to_string(info.comp_info[c].h_samp_factor) + "x" +
                  std::to_string(info.comp_info[c].v_samp_factor);
  }
  jpeg_destroy_decompress(&info);
  return {bytes.size(), sampling};
}

TEST_F(ExporterTest, JpegQualityGrowsTheFileAndSwitchesChromaAtNinety) {
  const QImage source = OpaqueImage(128, 128);
  Exporter exporter = NewExporter("JPEG");
  struct Step {
    int32_t quality;
    const char* sampling;
  };
  const char* const k420 = "2x2 1x1 1x1";
  const char* const k444 = "1x1 1x1 1x1";
  qint64 previous = 0;
  for (Step step : {Step{0, k420}, Step{512, k420}, Step{819, k420}, Step{921, k444}, Step{1024, k444}}) {
    setQuality(exporter.get(), step.quality);
    const QString path = File(QString("q%1.jpg").arg(step.quality));
    ASSERT_TRUE(Save(exporter.get(), path, source));
    const JpegFile facts = JpegFacts(path);
    EXPECT_GT(facts.size, previous) << step.quality;
    EXPECT_EQ(facts.sampling, step.sampling) << step.quality;
    previous = facts.size;
  }

  Exporter fresh = NewExporter("JPEG");
  ASSERT_TRUE(Save(fresh.get(), File("default.jpg"), source));
  EXPECT_EQ(Read(File("default.jpg")), Read(File("q512.jpg"))) << "the default quality is 512";
}

TEST_F(ExporterTest, OtherFormatsIgnoreTheQuality) {
  const QImage source = OpaqueImage(20, 10);
  for (const Format* format : {&kPng, &kTarga, &kPhotoshop, &kSgi, &kBmp}) {
    Exporter exporter = NewExporter(format->code);
    ASSERT_TRUE(Save(exporter.get(), File("plain"), source));
    setQuality(exporter.get(), 0);
    ASSERT_TRUE(Save(exporter.get(), File("worst"), source));
    EXPECT_EQ(Read(File("plain")), Read(File("worst"))) << format->code;
  }
}

TEST_F(ExporterTest, OneExporterServesTilesOfEverySize) {
  for (const Format* format : kAllFormats) {
    Exporter exporter = NewExporter(format->code);
    for (QSize size : {QSize(1, 1), QSize(300, 200), QSize(16, 40)}) {
      const QString path = File(QString("x.%1").arg(format->extension));
      ASSERT_TRUE(Save(exporter.get(), path, PartlyTransparentImage(size.width(), size.height())))
          << format->code << " " << lastError(exporter.get());
      EXPECT_EQ(format->read(path).size(), size) << format->code;
    }
  }
}

ino_t Inode(const QString& path) {
  struct stat status {};
  return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// A new file is written beside the old one and renamed over it: a hard link
// to the old file keeps the old bytes, whoever runs the export (a check by
// permissions does not hold for root).
TEST_F(ExporterTest, AnExistingFileIsReplacedByANewFileAndNoTemporaryFileStays) {
  const QByteArray oldBytes(100000, 'o');
  for (const Format* format : kAllFormats) {
    SCOPED_TRACE(format->code);
    const QString name = QString("x1y1.") + format->extension;
    ASSERT_TRUE(Write(File(name), oldBytes));
    ASSERT_EQ(::link(QFile::encodeName(File(name)).constData(), QFile::encodeName(File("link")).constData()), 0);
    const ino_t oldInode = Inode(File(name));
    Exporter exporter = NewExporter(format->code);
    ASSERT_TRUE(Save(exporter.get(), File(name), OpaqueImage(40, 30)));
    EXPECT_EQ(format->read(File(name)).size(), QSize(40, 30));
    EXPECT_NE(Inode(File(name)), oldInode) << "a new file, not the old one rewritten";
    EXPECT_TRUE(Read(File("link")) == oldBytes) << "the old file is left whole";
    EXPECT_EQ(FolderEntries(), (QStringList{"link", name}));
    QFile::remove(File(name));
    QFile::remove(File("link"));
  }
}

TEST_F(ExporterTest, AFileThatCannotBeWrittenGivesFalseAndAReason) {
  ASSERT_TRUE(QDir(folder.path()).mkdir("x1y1.png"));
  struct Case {
    const char* what;
    QString path;
  };
  const Case cases[] = {{"the folder does not exist", File("missing/x1y1.png")},
                        {"the target is a folder", File("x1y1.png")}};
  for (const Format* format : kAllFormats) {
    Exporter exporter = NewExporter(format->code);
    for (const Case& c : cases) {
      EXPECT_FALSE(Save(exporter.get(), c.path, OpaqueImage(8, 8))) << format->code << ": " << c.what;
      EXPECT_NE(lastError(exporter.get()), "") << format->code << ": " << c.what;
      EXPECT_EQ(FolderEntries(), QStringList{"x1y1.png"}) << format->code << ": " << c.what;
    }
    ASSERT_TRUE(Save(exporter.get(), File("fine"), OpaqueImage(8, 8)));
    EXPECT_EQ(lastError(exporter.get()), "") << "a success clears the reason";
    QFile::remove(File("fine"));
  }
}

TEST_F(ExporterTest, AReadOnlyFolderKeepsItsFileAndGetsNoTemporaryFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  const QString target = File("x1y1.jpg");
  ASSERT_TRUE(Write(target, "old"));
  ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  Exporter exporter = NewExporter("JPEG");
  const bool saved = Save(exporter.get(), target, OpaqueImage(8, 8));
  const std::string reason = lastError(exporter.get());
  QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_FALSE(saved);
  EXPECT_EQ(reason, "Permission denied");
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(FolderEntries(), QStringList{"x1y1.jpg"});
}

// BMP files end at 2 GB, where Qt's writer stops; Photoshop tiles of any
// size are written, as large documents past 2 GB.
TEST_F(ExporterTest, KnowsTheTileSizesItsFormatCannotHold) {
  const std::string largest = "; the largest is 2 GB, such as a tile of 26754 x 26754 pixels.";
  struct Case {
    const Format* format;
    int width, height;
    std::string problem;
  };
  const Case cases[] = {
      {&kBmp, 26754, 26754, ""},
      {&kBmp, 32767, 21845, ""},
      {&kBmp, 26755, 26755, "A BMP file cannot hold a tile of 26755 x 26755 pixels" + largest},
      {&kBmp, 32767, 21846, "A BMP file cannot hold a tile of 32767 x 21846 pixels" + largest},
      {&kPhotoshop, 32767, 32767, ""},
  };
  for (const Case& c : cases) {
    Exporter exporter = NewExporter(c.format->code);
    EXPECT_EQ(tileSizeProblem(exporter.get(), c.width, c.height), c.problem)
        << c.format->code << " " << c.width << " x " << c.height;
  }
}

TEST_F(ExporterTest, PhotoshopTilesWiderThanADocumentAreLargeDocuments) {
  Exporter exporter = NewExporter("8BPS");
  const QImage tile = PartlyTransparentImage(30001, 2);
  ASSERT_TRUE(Save(exporter.get(), File("x1y1.psd"), tile)) << lastError(exporter.get());
  EXPECT_EQ(ReadBigEndian(Read(File("x1y1.psd")), 4, 2), 2u);  // the version of PSB
  const Ref<Picture> read = DecodePictureFile(File("x1y1.psd").toStdString());
  ASSERT_TRUE(read);
  EXPECT_EQ(ImageOf(*read), tile);
}

std::vector<sighandler_t> SignalHandlers() {
  std::vector<sighandler_t> handlers;
  for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    handlers.push_back(action.sa_handler);
  }
  return handlers;
}

// Writes a TARGA tile, GraphicsMagick's first use in the process, and exits
// with 0 when the signal handlers are still those it started with.
[[noreturn]] void ExitAfterTheFirstTargaTile(const QString& path) {
  const std::vector<sighandler_t> before = SignalHandlers();
  Exporter exporter = NewExporter("TPIC");
  const char* fault = !Save(exporter.get(), path, OpaqueImage(4, 4)) ? "no tile written"
                      : SignalHandlers() != before                    ? "a signal handler changed"
                                                                      : nullptr;
  if (fault) std::fputs(fault, stderr);
  std::_Exit(fault ? 1 : 0);
}

// The handlers to keep are whatever the launcher left (nohup ignores SIGHUP);
// a fresh process, as GraphicsMagick is set up once in each.
TEST_F(ExporterTest, GraphicsMagickInstallsNoSignalHandler) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitAfterTheFirstTargaTile(File("x1y1.tga")), testing::ExitedWithCode(0), "");
}
}  // namespace
