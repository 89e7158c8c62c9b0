// The tile export: order, names, sizes, contents, formats, quality, the
// cancelled and refused paths, failures and the time label.
#include <QDir>
#include <QImageReader>

#include "FileBytes.h"
#include "Psnr.h"
#include "RecordingPlugin.h"
#include "StartedVamor.h"
#include "export/SaveThread.h"
#include "platform/files/FolderItem.h"
#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/GraphicsExporterComponent.h"
#include "platform/runtime/TestHooks.h"

namespace {
const std::string kNoOpenImage = "There is no open Image!";

// A picture whose every pixel tells its own position.
Ref<Picture> Positional(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgba(x & 255, y & 255, (x >> 8) * 16 + (y >> 8), 255));
  return PictureFromImage(image, true);
}

class ExportTest : public StartedVamor {
 protected:
  void SetUp() override {
    plugin.Install();
    StartedVamor::SetUp();
  }
  void TearDown() override {
    StartedVamor::TearDown();
    RecordingPlugin::Uninstall();
    TestHooks::monotonicClock = nullptr;
  }
  void Export(int w, int h, const char* tileW, const char* tileH, const std::string& folder = TempDir()) {
    ImageTools::OriginalImage = Positional(w, h);
    Main()->txtWidth()->Text(tileW);
    Main()->txtHeight()->Text(tileH);
    dialogs.folders.push_back(folder);
    plugin.calls.clear();
    plugin.saves.clear();
    SaveThread::SaveTiles();
  }
  std::vector<std::string> SavedNames() const {
    std::vector<std::string> names;
    for (const auto& s : plugin.saves) names.push_back(s.name);
    return names;
  }
  std::vector<std::string> CursorChanges() const {
    std::vector<std::string> changes;
    for (const auto& line : trace)
      if (line.rfind("MouseCursor ", 0) == 0) changes.push_back(line);
    return changes;
  }
  RecordingPlugin plugin;
};

TEST_F(ExportTest, CutsColumnByColumnIntoFullSizeTiles) {
  struct Case {
    int w, h;
    const char *tileW, *tileH;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {250, 120, "100", "100", {"x1y1.jpg", "x1y2.jpg", "x2y1.jpg", "x2y2.jpg", "x3y1.jpg", "x3y2.jpg"}},
      {50, 40, "100", "100", {"x1y1.jpg"}},
      {300, 200, "100", "100", {"x1y1.jpg", "x1y2.jpg", "x2y1.jpg", "x2y2.jpg", "x3y1.jpg", "x3y2.jpg"}},
      {3, 2, "1", "1", {"x1y1.jpg", "x1y2.jpg", "x2y1.jpg", "x2y2.jpg", "x3y1.jpg", "x3y2.jpg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    Export(c.w, c.h, c.tileW, c.tileH);
    EXPECT_EQ(SavedNames(), c.names);
    QSize tile(atoi(c.tileW), atoi(c.tileH));
    for (const auto& s : plugin.saves) EXPECT_EQ(s.image.size(), tile) << s.name;
  }
}

TEST_F(ExportTest, EdgeTilesHoldTheirPartOfThePictureAndNothingPastIt) {
  Export(250, 120, "100", "100");
  const QImage& x3y1 = plugin.saves[4].image;
  ASSERT_EQ(plugin.saves[4].name, "x3y1.jpg");
  EXPECT_EQ(x3y1.pixel(0, 0), qRgba(200, 0, 0, 255));
  EXPECT_EQ(x3y1.pixel(49, 99), qRgba(249, 99, 0, 255));
  EXPECT_EQ(qAlpha(x3y1.pixel(50, 0)), 0) << "past the right edge";
  const QImage& x1y2 = plugin.saves[1].image;
  EXPECT_EQ(x1y2.pixel(7, 0), qRgba(7, 100, 0, 255));
  EXPECT_EQ(x1y2.pixel(99, 19), qRgba(99, 119, 0, 255));
  EXPECT_EQ(qAlpha(x1y2.pixel(0, 20)), 0) << "past the bottom edge";
  // Exact multiples are covered whole.
  Export(300, 200, "100", "100");
  for (const auto& s : plugin.saves)
    for (QPoint p : {QPoint(0, 0), QPoint(99, 99)}) EXPECT_EQ(qAlpha(s.image.pixel(p)), 255) << s.name;
  EXPECT_EQ(plugin.saves[5].image.pixel(99, 99), qRgba(299 & 255, 199, 16, 255));
}

TEST_F(ExportTest, NamesUseThePlainNumbersAndTheExtensionAsTyped) {
  Main()->ExtensionText()->Text("");
  Export(1100, 100, "100", "100");
  ASSERT_EQ(plugin.saves.size(), 11u);
  EXPECT_EQ(plugin.saves[8].name, "x9y1.");
  EXPECT_EQ(plugin.saves[9].name, "x10y1.");
  EXPECT_EQ(plugin.saves[10].name, "x11y1.");

  Main()->CustomCheck()->Value(true);
  Main()->ExtensionText()->Text("tif");
  Export(100, 100, "100", "100");
  EXPECT_EQ(plugin.calls.front(), "Get JPEG");
  EXPECT_EQ(SavedNames(), std::vector<std::string>{"x1y1.tif"});
  EXPECT_EQ(SaveThread::TileFileName(3, 12, ".png"), "x3y12.png");
}

TEST_F(ExportTest, EachRowHasItsExporterAndOnlyJpegGetsAQuality) {
  const char* codes[] = {"JPEG", "PNGf", "TPIC", "8BPS", ".SGI", "BMPf"};
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(codes[row]);
    Main()->formatMenu()->ListIndex(row);
    Export(200, 100, "100", "100");
    std::vector<std::string> expected = {std::string("Get ") + codes[row]};
    std::string ext = Main()->ExtensionText()->Text();
    for (const char* tile : {"x1y1.", "x2y1."}) {
      if (row == 0) expected.push_back("Quality 819");
      expected.push_back("Save " + std::string(tile) + ext);
    }
    expected.push_back("Exit");
    EXPECT_EQ(plugin.calls, expected);
  }
}

TEST_F(ExportTest, QualityRowsReachTheExporter) {
  const std::pair<int, int> rows[] = {{0, 0}, {1, 102}, {2, 204}, {4, 409}, {5, 512},
                                      {7, 716}, {8, 819}, {9, 921}, {10, 1024}};
  for (auto [row, quality] : rows) {
    Main()->QualityMenu()->ListIndex(row);
    Export(100, 100, "100", "100");
    EXPECT_EQ(plugin.calls[1], "Quality " + std::to_string(quality)) << Main()->QualityMenu()->Text();
  }
  EXPECT_EQ(SaveThread::CompressionQualityOf("100 - Best"), 1024);
  EXPECT_EQ(SaveThread::CompressionQualityOf("0 - Worst"), 0);
}

TEST_F(ExportTest, CancelledFolderDialogDoesNothingButLetTheExporterGo) {
  ImageTools::OriginalImage = Positional(10, 10);
  Main()->txtTime()->Text("Last time: 0:03");
  dialogs.folders.push_back(std::nullopt);
  trace.clear();
  SaveThread::SaveTiles();
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"Get JPEG", "Exit"}));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(CursorChanges().empty());
  EXPECT_EQ(Main()->txtTime()->Text(), "Last time: 0:03");
}

TEST_F(ExportTest, WithoutAPictureTheFolderIsAskedThenTheMessageShown) {
  ImageTools::OriginalImage = nullptr;
  dialogs.folders.push_back(TempDir());
  trace.clear();
  SaveThread::SaveTiles();
  EXPECT_EQ(dialogs.folderDialogs, 1);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kNoOpenImage});
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"Get JPEG", "Exit"}));
  EXPECT_TRUE(CursorChanges().empty());
  EXPECT_EQ(Main()->txtTime()->Text(), "");
}

TEST_F(ExportTest, BusyCursorFromFirstTileToLastThenTheTime) {
  std::chrono::steady_clock::duration now = std::chrono::seconds(1000);
  TestHooks::monotonicClock = [&now] { return now += std::chrono::milliseconds(3500); };  // start to end
  trace.clear();
  Export(200, 100, "100", "100");
  EXPECT_EQ(CursorChanges(), (std::vector<std::string>{"MouseCursor Wait", "MouseCursor StandardPointer"}));
  EXPECT_EQ(Main()->txtTime()->Text(), "Last time: 0:03");
}

TEST_F(ExportTest, TimeLabelOfTheWorkedExamples) {
  const std::pair<int32_t, const char*> cases[] = {
      {420, "Last time: 0:07"}, {75 * 60, "Last time: 1:15"}, {(61 * 60 + 40) * 60, "Last time: 61:40"},
      {0, "Last time: 0:00"},   {59, "Last time: 0:00"},      {119 * 60 + 36, "Last time: 1:59"}};
  for (auto [ticks, label] : cases) EXPECT_EQ(SaveThread::TimeLabel(ticks), label) << ticks;
}

TEST_F(ExportTest, TilesThatFailAreCountedAndNamedAfterTheRest) {
  plugin.failingNames = {"x1y2.jpg", "x3y1.jpg"};
  Export(250, 120, "100", "100");
  EXPECT_EQ(plugin.saves.size(), 6u) << "the export goes on";
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{
                                  "2 of 6 tiles could not be written. The first, x1y2.jpg, failed: "
                                  "the disk is full."});
  EXPECT_EQ(Main()->txtTime()->Text().rfind("Last time: ", 0), 0u);
}

TEST_F(ExportTest, OneTileFailingAmongSeveralIsNamedWithItsReason) {
  plugin.failingNames = {"x2y1.jpg"};
  plugin.failureReason = "Is a directory";
  Export(250, 120, "100", "100");
  EXPECT_EQ(dialogs.messages,
            std::vector<std::string>{"1 of 6 tiles could not be written: x2y1.jpg failed: Is a directory."});
}

TEST_F(ExportTest, TheOnlyTileFailingIsNamedWithItsReason) {
  plugin.failingNames = {"x1y1.jpg"};
  plugin.failureReason = "Read-only file system.";
  Export(50, 40, "100", "100");
  EXPECT_EQ(dialogs.messages,
            std::vector<std::string>{"The tile x1y1.jpg could not be written: Read-only file system."});
}

TEST_F(ExportTest, ATileTooLargeToMakeStopsBeforeAnyFile) {
  Export(250, 120, "99999", "99999");
  EXPECT_TRUE(plugin.saves.empty());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "A tile of 99999 x 99999 pixels is too large to be made. Choose a smaller tile size.");
  EXPECT_EQ(CursorChanges().back(), "MouseCursor StandardPointer");
  EXPECT_EQ(Main()->txtTime()->Text(), "");
}

TEST_F(ExportTest, ATileItsFormatCannotHoldStopsBeforeAnyFileWithTheExportersReason) {
  plugin.tileSizeProblem = "A BMP file cannot hold a tile of 300 x 200 pixels.";
  Export(250, 120, "300", "200");
  EXPECT_EQ(plugin.askedTileSizes, (std::vector<std::pair<int32_t, int32_t>>{{300, 200}}));
  EXPECT_TRUE(plugin.saves.empty());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{
                                  "A BMP file cannot hold a tile of 300 x 200 pixels. Choose a smaller tile size."});
  EXPECT_EQ(Main()->txtTime()->Text(), "");
}

TEST_F(ExportTest, RowOutsideTheTableWritesNothingAndSaysSo) {
  Main()->formatMenu()->ListIndex(-1);
  Export(100, 100, "100", "100");
  EXPECT_TRUE(plugin.calls.empty());
  EXPECT_EQ(dialogs.messages,
            std::vector<std::string>{"Vamor has no exporter for the chosen format. No tile was written."});
}

// With the real exporter component: files that other readers open.
class RealExportTest : public StartedVamor {};

// The real exporter component, with a step of the test's after each tile.
class SteppedExportTest : public StartedVamor {
 protected:
  static constexpr const char* kSaveText =
      "QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean";
  void SetUp() override {
    TestHooks::pluginLookup = [](const std::string& text) {
      return text == kSaveText ? reinterpret_cast<PluginEntry>(&SaveThenStep) : GraphicsExporterEntry(text);
    };
    StartedVamor::SetUp();
  }
  void TearDown() override {
    StartedVamor::TearDown();
    TestHooks::pluginLookup = nullptr;
    afterTile = nullptr;
  }
  static bool SaveThenStep(ExporterHandle* exporter, const FolderItem& location, const Picture& image) {
    const auto save = reinterpret_cast<PluginEntrySignatures::SavePicture>(GraphicsExporterEntry(kSaveText));
    const bool saved = save(exporter, location, image);
    if (afterTile) afterTile(location.Name());
    return saved;
  }
  static inline std::function<void(const std::string& tile)> afterTile;
};

// The folder is the one the user chose, wherever it goes during the export.
TEST_F(SteppedExportTest, AFolderRenamedBetweenTwoTilesReceivesEveryTile) {
  QDir base(QString::fromStdString(TempDir()));
  const QString chosen = base.filePath("chosen"), moved = base.filePath("moved");
  QDir(chosen).removeRecursively();
  QDir(moved).removeRecursively();
  ASSERT_TRUE(base.mkdir("chosen"));
  afterTile = [&](const std::string& tile) {
    if (tile != "x1y1.png") return;
    ASSERT_TRUE(base.rename("chosen", "moved"));
    ASSERT_TRUE(base.mkdir("chosen")) << "another folder now has the old name";
  };
  Main()->formatMenu()->ListIndex(1);
  ImageTools::OriginalImage = Positional(250, 120);
  dialogs.folders.push_back(chosen.toStdString());
  SaveThread::SaveTiles();

  EXPECT_TRUE(dialogs.messages.empty());
  const QStringList all = QDir(moved).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  EXPECT_EQ(all, (QStringList{"x1y1.png", "x1y2.png", "x2y1.png", "x2y2.png", "x3y1.png", "x3y2.png"}))
      << "every tile and no temporary file";
  EXPECT_TRUE(QDir(chosen).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
      << "nothing in the new folder";
}

TEST_F(RealExportTest, WritesRealFilesReplacingOldOnesAndReportsTilesItCannotWrite) {
  QDir folder(QString::fromStdString(TempDir() + "/real"));
  folder.removeRecursively();
  ASSERT_TRUE(folder.mkpath("."));
  ASSERT_TRUE(Write(folder.filePath("x1y1.png"), "old bytes"));
  ASSERT_TRUE(folder.mkpath("x2y1.png"));  // a folder where a tile should go

  Main()->formatMenu()->ListIndex(1);
  ImageTools::OriginalImage = Positional(250, 120);
  Main()->txtWidth()->Text("100");
  Main()->txtHeight()->Text("100");
  dialogs.folders.push_back(folder.path().toStdString());
  SaveThread::SaveTiles();

  for (const char* name : {"x1y1.png", "x1y2.png", "x2y2.png", "x3y1.png", "x3y2.png"}) {
    QImageReader reader(folder.filePath(name));
    EXPECT_EQ(reader.format(), "png") << name;
    EXPECT_EQ(reader.size(), QSize(100, 100)) << name;
  }
  QImage x3y1(folder.filePath("x3y1.png"));
  EXPECT_EQ(x3y1.convertToFormat(QImage::Format_ARGB32).pixel(49, 0), qRgba(249, 0, 0, 255));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind("1 of 6 tiles could not be written: x2y1.png failed: ", 0), 0u)
      << dialogs.messages[0];
  EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden).size(), 5) << "no temporary file is left";
}
// Tiles inside the picture are encoded from its own rows, tiles at its right
// and bottom edges from copies padded past the edge: each decodes, with
// another reader, to its rectangle of the picture, PNG exactly (RGB only
// where every pixel is opaque), JPEG closely and on white.
TEST_F(RealExportTest, JpegAndPngTilesHoldTheirRectanglesInsideAndAtTheEdges) {
  QImage partlyTransparent = ImageOf(*Positional(250, 120)).copy();
  for (int y = 30; y < 60; ++y)
    for (int x = 20; x < 240; ++x) partlyTransparent.setPixel(x, y, qRgba(x & 255, y, 90, (x + 3 * y) % 256));
  Main()->txtWidth()->Text("100");
  Main()->txtHeight()->Text("100");
  for (const bool opaque : {true, false}) {
    const QImage picture = opaque ? ImageOf(*Positional(250, 120)).copy() : partlyTransparent;
    ImageTools::OriginalImage = PictureFromImage(picture, opaque);
    for (const int row : {0, 1}) {
      const bool png = row == 1;
      SCOPED_TRACE(std::string(opaque ? "opaque " : "partly transparent ") + (png ? "PNG" : "JPEG"));
      QDir folder(QString::fromStdString(TempDir() + "/rectangles"));
      folder.removeRecursively();
      ASSERT_TRUE(folder.mkpath("."));
      Main()->formatMenu()->ListIndex(row);
      dialogs.folders.push_back(folder.path().toStdString());
      SaveThread::SaveTiles();
      for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 2; ++y) {
          const QString name = QString("x%1y%2.%3").arg(x).arg(y).arg(png ? "png" : "jpg");
          SCOPED_TRACE(name.toStdString());
          QImage expected(100, 100, QImage::Format_ARGB32);
          expected.fill(0u);
          for (int ty = 0; ty < 100; ++ty)
            for (int tx = 0; tx < 100; ++tx)
              if (QPoint p((x - 1) * 100 + tx, (y - 1) * 100 + ty); picture.rect().contains(p))
                expected.setPixel(tx, ty, picture.pixel(p));
          const QImage read = QImageReader(folder.filePath(name)).read().convertToFormat(QImage::Format_ARGB32);
          ASSERT_EQ(read.size(), QSize(100, 100));
          if (png) {
            EXPECT_EQ(read, expected);
            const QByteArray file = Read(folder.filePath(name));
            ASSERT_GE(file.size(), 26);
            const bool inside = x < 3 && y < 2;
            EXPECT_EQ(int(file[25]), opaque && inside ? 2 : 6) << "colour type";
          } else {
            QImage onWhite = expected;
            for (int ty = 0; ty < 100; ++ty)
              for (int tx = 0; tx < 100; ++tx) {
                const QRgb p = expected.pixel(tx, ty);
                auto mix = [a = qAlpha(p)](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
                onWhite.setPixel(tx, ty, qRgb(mix(qRed(p)), mix(qGreen(p)), mix(qBlue(p))));
              }
            EXPECT_GT(Psnr(read, onWhite), 32.0);
          }
        }
    }
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RealExportTest, EveryFormatWrittenOpensAgainInVamor) {
  struct Case {
    int row;
    const char* ext;
    bool lossless, keepsAlpha;
  };
  const Case cases[] = {{0, "jpg", false, false}, {1, "png", true, true},  {2, "tga", true, true},
                        {3, "psd", true, true},   {4, "sgi", true, true},  {5, "bmp", true, false}};
  QImage source = ImageOf(*Positional(250, 120)).copy();
  source.setPixel(210, 10, qRgba(10, 20, 30, 128));
  ImageTools::OriginalImage = PictureFromImage(source, false);
  Main()->txtWidth()->Text("100");
  Main()->txtHeight()->Text("100");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    QDir folder(QString::fromStdString(TempDir() + "/reopen-" + c.ext));
    folder.removeRecursively();
    ASSERT_TRUE(folder.mkpath("."));
    Main()->formatMenu()->ListIndex(c.row);
    dialogs.folders.push_back(folder.path().toStdString());
    SaveThread::SaveTiles();
    Ref<Picture> tile = FolderItem(folder.filePath(QString("x3y1.") + c.ext).toStdString()).OpenAsPicture();
    ASSERT_TRUE(tile);
    ASSERT_EQ(tile->Width(), 100);
    ASSERT_EQ(tile->Height(), 100);
    const QImage& image = ImageOf(*tile);
    if (c.lossless) {
      EXPECT_EQ(image.pixel(5, 7), source.pixel(205, 7));
    }
    if (c.keepsAlpha) {
      EXPECT_EQ(image.pixel(10, 10), source.pixel(210, 10)) << "semi-transparent, exactly";
    } else {
      EXPECT_EQ(qAlpha(image.pixel(10, 10)), 255) << "flattened";
    }
    EXPECT_EQ(qAlpha(image.pixel(70, 50)), c.keepsAlpha ? 0 : 255) << "past the picture's right edge";
  }
  EXPECT_TRUE(dialogs.messages.empty());
}
}  // namespace
