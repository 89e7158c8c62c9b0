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

#include "PeakMemory.h"
#include "PictureBytes.h"
#include "StartedVamor.h"
#include "image/OpenMenu.h"
#include "platform/files/FolderItem.h"
#include "platform/graphics/PictureImage.h"

namespace {
const QString kFixtures = QStringLiteral(VAMOR_FIXTURES);
const std::string kNoImageData = "The file you selected contains no recognizable image data.";
constexpr uint64_t kMiB = 1 << 20;

QByteArray Fixture(const QString& name) {
  QFile file(kFixtures + "/" + name);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
  return file.readAll();
}

// A file that once made a reader crash or misbehave (tests/fuzz/regressions).
QByteArray Regression(const QString& name) { return Fixture("../fuzz/regressions/" + name); }

// Caps the address space at what the process has now plus headroom, so that
// a picture larger than that does not fit; lifted again when it goes.
class AddressSpaceCap {
 public:
  explicit AddressSpaceCap(uint64_t headroom) {
    getrlimit(RLIMIT_AS, &saved_);
    rlimit cap = saved_;
    cap.rlim_cur = StatusBytes("VmSize") + headroom;
    EXPECT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
  }
  ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &saved_); }

 private:
  rlimit saved_;
};

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
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
                    [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }}),
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
  {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes());
  }
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
}  // namespace
